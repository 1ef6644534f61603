#include "calc/exact_decimal.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// Where the standard library converts, the stand-in must agree with it on
// every text and every double, to the last digit and the same error.
void compareReading(std::string_view text)
{
    if (text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return; // from_chars also reads "inf", "nan" and hexadecimal
    double expected = 0.5, seen = 0.5;
    const auto standard = std::from_chars(text.data(), text.data() + text.size(), expected);
    const auto exact = klimora::exactReadDouble(text.data(), text.data() + text.size(), seen);
    if (standard.ptr != exact.end || standard.ec != exact.error ||
        std::memcmp(&expected, &seen, sizeof seen) != 0)
        std::abort();
}

void compareWriting(double value, klimora::DoubleForm form, int precision)
{
    char expected[400], seen[400];
    const auto format = form == klimora::DoubleForm::Scientific ? std::chars_format::scientific
                                                                : std::chars_format::fixed;
    const auto standard =
        std::to_chars(std::begin(expected), std::end(expected), value, format, precision);
    const char *exact = klimora::exactWriteDouble(seen, value, form, precision);
    if (std::string_view(expected, standard.ptr) != std::string_view(seen, exact))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    compareReading(std::string_view(reinterpret_cast<const char *>(data), size));
    if (size >= sizeof(double) + 1) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        compareWriting(value, klimora::DoubleForm::Scientific, data[sizeof value] % 20);
        compareWriting(value, klimora::DoubleForm::Fixed, data[sizeof value] % 10);
    }
    return 0;
}
