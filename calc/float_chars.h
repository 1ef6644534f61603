#pragma once

// Locale-free conversions between doubles and their decimal text.

#include <span>
#include <system_error>

namespace klimora {

// std::from_chars and std::to_chars for doubles, wherever the standard
// library has them. emscripten's libc++ lacks both: exact_decimal.h stands in.

struct ReadDouble {
    const char *end;
    std::errc error;
};

// Reads the whole of a plain decimal text, as std::from_chars does: an
// overflow or underflow to zero is result_out_of_range, and leaves value.
ReadDouble readDouble(const char *first, const char *last, double &value);

enum class DoubleForm { Scientific, Fixed };

// Writes d.ddde+xx or ddd.ddd with `precision` digits after the point,
// correctly rounded. The buffer must hold the text; returns its end.
char *writeDouble(std::span<char> buffer, double value, DoubleForm form, int precision);

} // namespace klimora
