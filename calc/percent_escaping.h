#pragma once

// Text in a link: percent escapes, as browsers write them.

#include <optional>
#include <string>
#include <string_view>

namespace klimora {

// Text in a link, escaped as a browser's encodeURIComponent escapes it, but
// for the comma, which needs no escape in a fragment and reads better as it is.
std::string percentEscaped(std::string_view text);

// No stray, overlong or surrogate sequence, nothing past U+10FFFF.
bool isWellFormedUtf8(std::string_view text);

// The other way, as decodeURIComponent: nullopt for a bad escape or for what
// is not well-formed UTF-8 once decoded.
std::optional<std::string> percentDecoded(std::string_view text);

} // namespace klimora
