// The standard library's conversions of doubles, where it has them.
#include "calc/float_chars.h"

#include <charconv>

#if !defined(__cpp_lib_to_chars)
#include "calc/exact_decimal.h"
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
    const auto format =
        form == DoubleForm::Scientific ? std::chars_format::scientific : std::chars_format::fixed;
    return std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision)
        .ptr;
}

#else

ReadDouble readDouble(const char *first, const char *last, double &value)
{
    return exactReadDouble(first, last, value);
}

char *writeDouble(std::span<char> buffer, double value, DoubleForm form, int precision)
{
    return exactWriteDouble(buffer, value, form, precision);
}

#endif

} // namespace klimora
