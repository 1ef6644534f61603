#include "calc/float_chars.h"

#include <charconv>

#if !defined(__cpp_lib_to_chars)
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#endif

namespace klimora {

#if defined(__cpp_lib_to_chars)

ReadDouble readDouble(const char *first, const char *last, double &value)
{
    const auto [end, error] = std::from_chars(first, last, value);
    return {end, error};
}

char *writeDouble(std::span<char> buffer, double value, DoubleForm form, int precision)
{
    const auto format = form == DoubleForm::Scientific ? std::chars_format::scientific
                                                       : std::chars_format::fixed;
    return std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision)
        .ptr;
}

#else

ReadDouble readDouble(const char *first, const char *last, double &value)
{
    const std::string text(first, last);
    char *end = nullptr;
    errno = 0;
    const double read = std::strtod(text.c_str(), &end);
    const auto length = end - text.c_str();
    if (length == 0)
        return {first, std::errc::invalid_argument};
    // strtod also flags results that are merely subnormal.
    if (errno == ERANGE && (read == 0 || std::isinf(read)))
        return {first + length, std::errc::result_out_of_range};
    value = read;
    return {first + length, std::errc{}};
}

char *writeDouble(std::span<char> buffer, double value, DoubleForm form, int precision)
{
    const char *format = form == DoubleForm::Scientific ? "%.*e" : "%.*f";
    const int written = std::snprintf(buffer.data(), buffer.size(), format, precision, value);
    const bool fits = written >= 0 && static_cast<std::size_t>(written) < buffer.size();
    return buffer.data() + (fits ? written : 0);
}

#endif

} // namespace klimora
