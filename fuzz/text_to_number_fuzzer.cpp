#include "calc/calc_error.h"
#include "calc/number_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>
#include <string_view>

namespace {

// The accepted grammar written out independently of the scanner. std::regex
// recurses per character, so the oracle only looks at short texts.
constexpr std::size_t longestCheckedText = 256;

const std::regex &grammar(char separator)
{
    static const auto make = [](char sep) {
        const std::string s = sep == '.' ? "\\." : std::string(1, sep);
        const std::string blanks = "(?:[ \\t]|\\xC2\\xA0)*";
        return std::regex("^" + blanks + "[+-]?(?:[0-9]+(?:" + s + "[0-9]*)?|" + s +
                          "[0-9]+)(?:[eE][+-]?[0-9]+)?" + blanks + "$");
    };
    static const std::regex comma = make(',');
    static const std::regex dot = make('.');
    return separator == ',' ? comma : dot;
}

// Significant digits of the mantissa: no leading or trailing zeros.
std::size_t significantDigits(std::string_view text)
{
    const auto exponent = text.find_first_of("eE");
    std::string digits;
    for (const char c : text.substr(0, exponent))
        if (c >= '0' && c <= '9')
            digits += c;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    return digits.find_last_not_of('0') - first + 1;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the regional separator.
    const klimora::NumberFormat format{(data[0] & 1) != 0 ? "," : "."};
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    double value = 0;
    bool accepted = true;
    try {
        value = klimora::textToNumber(text, format);
    } catch (const klimora::CalcError &error) {
        accepted = error.number() == klimora::ErrorNumber::Overflow;
        check(error.answer() == klimora::Answer::None);
    }

    if (text.size() > longestCheckedText)
        return 0;
    const bool grammatical =
        std::regex_match(text.begin(), text.end(), grammar(format.decimalSeparator[0]));
    check(accepted == grammatical);

    if (grammatical && accepted && significantDigits(text) <= 15) {
        const std::string written = klimora::numberToText(value, format);
        check(klimora::textToNumber(written, format) == value);
    }
    return 0;
}
