#pragma once

// Exact decimal conversions of doubles, for toolchains without them.

#include "calc/float_chars.h"

#include <span>

namespace klimora {

// std::from_chars and std::to_chars for doubles done with whole numbers of
// any size: exact, free of any locale, and without the long double that C's
// strtod and printf need, which WebAssembly emulates at a cost a page pays.
ReadDouble exactReadDouble(const char *first, const char *last, double &value);
char *exactWriteDouble(std::span<char> buffer, double value, DoubleForm form, int precision);

} // namespace klimora
