// A number written as the result shows it: 15 significant digits.
#include "calc/float_chars.h"
#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <string>

namespace klimora {

namespace {

constexpr int significantDigits = 15;
// From 1E15 on, plain writing would show digits that are not significant.
constexpr int firstExponentForm = significantDigits;
constexpr int lastPlainSmallExponent = -4;

// The value rounded to 15 significant digits: d.ddd x 10^exponent.
struct Rounded {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Rounded roundToSignificant(double value)
{
    char buffer[32];
    const char *end = writeDouble(buffer, value, DoubleForm::Scientific, significantDigits - 1);
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));

    Rounded rounded;
    rounded.negative = text.starts_with('-');
    if (rounded.negative)
        text.remove_prefix(1);
    const auto e = text.find('e');
    for (const char c : text.substr(0, e))
        if (c != '.')
            rounded.digits.push_back(c);
    const auto exponentText = text.substr(e + 1 + (text[e + 1] == '+' ? 1 : 0));
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(),
                    rounded.exponent);
    while (rounded.digits.size() > 1 && rounded.digits.ends_with('0'))
        rounded.digits.pop_back();
    return rounded;
}

bool needsExponentForm(const Rounded &rounded)
{
    if (rounded.exponent >= firstExponentForm)
        return true;
    const auto digitsAfterSeparator =
        -rounded.exponent - 1 + static_cast<int>(rounded.digits.size());
    return rounded.exponent < lastPlainSmallExponent && digitsAfterSeparator > significantDigits;
}

std::string exponentForm(const Rounded &rounded, std::string_view separator)
{
    std::string text(1, rounded.digits.front());
    if (rounded.digits.size() > 1) {
        text += separator;
        text.append(rounded.digits, 1);
    }
    text += rounded.exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(rounded.exponent);
    if (magnitude < 10)
        text += '0';
    char buffer[8];
    const auto written = std::to_chars(std::begin(buffer), std::end(buffer), magnitude);
    return text.append(buffer, written.ptr);
}

std::string plainForm(const Rounded &rounded, std::string_view separator)
{
    const auto &digits = rounded.digits;
    if (rounded.exponent < 0) {
        std::string text = "0";
        text += separator;
        text.append(static_cast<std::size_t>(-rounded.exponent - 1), '0');
        return text + digits;
    }
    const auto integerDigits = static_cast<std::size_t>(rounded.exponent) + 1;
    if (digits.size() <= integerDigits)
        return digits + std::string(integerDigits - digits.size(), '0');
    std::string text = digits.substr(0, integerDigits);
    text += separator;
    text.append(digits, integerDigits);
    return text;
}

std::string withSeparator(std::string_view text, std::string_view separator)
{
    std::string result;
    for (const char c : text) {
        if (c == '.')
            result += separator;
        else
            result += c;
    }
    return result;
}

} // namespace

std::string numberToText(double value, const NumberFormat &format)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    const Rounded rounded = roundToSignificant(value);
    if (rounded.digits == "0")
        return "0";
    const std::string magnitude = needsExponentForm(rounded)
                                      ? exponentForm(rounded, format.decimalSeparator)
                                      : plainForm(rounded, format.decimalSeparator);
    return rounded.negative ? "-" + magnitude : magnitude;
}

std::string numberToFixedText(double value, int decimals, const NumberFormat &format)
{
    constexpr double firstTooLong = 1e15;
    if (!(std::fabs(value) < firstTooLong))
        return numberToText(value, format);
    char buffer[32];
    const char *end = writeDouble(buffer, value, DoubleForm::Fixed, std::clamp(decimals, 0, 9));
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    // Rounding may carry into a sixteenth digit: 999999999999999.6 is 1E15.
    const auto integerDigits =
        std::min(text.find('.'), text.size()) - (text.starts_with('-') ? 1 : 0);
    if (integerDigits > significantDigits)
        return numberToText(value, format);
    // A tiny negative value rounds to zero, which has no sign.
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string_view::npos)
        text.remove_prefix(1);
    return withSeparator(text, format.decimalSeparator);
}

std::string countText(double count, std::string_view one, std::string_view many,
                      const NumberFormat &format)
{
    std::string text = numberToText(count, format) + ' ';
    text += count == 1 ? one : many;
    return text;
}

} // namespace klimora
