// An answer box's whole text read as one number.
#include "calc/calc_error.h"
#include "calc/float_chars.h"
#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

namespace klimora {

namespace {

constexpr std::string_view noBreakSpace = "\xC2\xA0";

// More digits than any double needs for correct rounding (767); what lies
// beyond only matters as "some non-zero digit was dropped".
constexpr std::size_t maxKeptDigits = 800;

// Far past both ends of the double range, yet nowhere near int64 limits.
constexpr std::int64_t exponentLimit = 1'000'000'000'000;

std::size_t leadingBlankLength(std::string_view text)
{
    if (text.starts_with(' ') || text.starts_with('\t'))
        return 1;
    if (text.starts_with(noBreakSpace))
        return noBreakSpace.size();
    return 0;
}

std::size_t trailingBlankLength(std::string_view text)
{
    if (text.ends_with(' ') || text.ends_with('\t'))
        return 1;
    if (text.ends_with(noBreakSpace))
        return noBreakSpace.size();
    return 0;
}

std::string_view withoutBlanks(std::string_view text)
{
    while (const auto length = leadingBlankLength(text))
        text.remove_prefix(length);
    while (const auto length = trailingBlankLength(text))
        text.remove_suffix(length);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number as 0.<digits> x 10^exponent, with leading zeros dropped.
struct Decimal {
    bool negative = false;
    std::string digits;
    bool droppedNonZero = false;
    std::int64_t exponent = 0;
};

class DecimalScanner {
public:
    DecimalScanner(std::string_view text, std::string_view separator)
        : m_rest(text), m_separator(separator)
    {
    }

    // Nullopt for what is not a number.
    std::optional<Decimal> scan()
    {
        if (m_rest.starts_with('+') || m_rest.starts_with('-')) {
            m_decimal.negative = m_rest.front() == '-';
            m_rest.remove_prefix(1);
        }
        bool anyDigit = scanDigits(true);
        if (!m_separator.empty() && m_rest.starts_with(m_separator)) {
            m_rest.remove_prefix(m_separator.size());
            anyDigit = scanDigits(false) || anyDigit;
        }
        if (!anyDigit)
            return std::nullopt;
        if (m_rest.starts_with('E') || m_rest.starts_with('e')) {
            m_rest.remove_prefix(1);
            const std::optional<std::int64_t> exponent = scanExponent();
            if (!exponent)
                return std::nullopt;
            m_decimal.exponent = saturatedSum(m_decimal.exponent, *exponent);
        }
        if (!m_rest.empty())
            return std::nullopt;
        // Trailing zeros say nothing, unless a dropped digit must follow them.
        if (!m_decimal.droppedNonZero) {
            while (m_decimal.digits.ends_with('0'))
                m_decimal.digits.pop_back();
        }
        return std::move(m_decimal);
    }

private:
    bool scanDigits(bool integerPart)
    {
        bool any = false;
        while (!m_rest.empty() && isDigit(m_rest.front())) {
            takeDigit(m_rest.front(), integerPart);
            m_rest.remove_prefix(1);
            any = true;
        }
        return any;
    }

    void takeDigit(char digit, bool integerPart)
    {
        const bool leadingZero = m_decimal.digits.empty() && digit == '0';
        if (leadingZero) {
            if (!integerPart)
                --m_decimal.exponent;
            return;
        }
        if (integerPart)
            ++m_decimal.exponent;
        if (m_decimal.digits.size() < maxKeptDigits)
            m_decimal.digits.push_back(digit);
        else if (digit != '0')
            m_decimal.droppedNonZero = true;
    }

    std::optional<std::int64_t> scanExponent()
    {
        bool negative = false;
        if (m_rest.starts_with('+') || m_rest.starts_with('-')) {
            negative = m_rest.front() == '-';
            m_rest.remove_prefix(1);
        }
        if (m_rest.empty() || !isDigit(m_rest.front()))
            return std::nullopt;
        std::int64_t value = 0;
        while (!m_rest.empty() && isDigit(m_rest.front())) {
            value = std::min(value * 10 + (m_rest.front() - '0'), exponentLimit);
            m_rest.remove_prefix(1);
        }
        return negative ? -value : value;
    }

    static std::int64_t saturatedSum(std::int64_t a, std::int64_t b)
    {
        return std::clamp(a + b, -exponentLimit, exponentLimit);
    }

    std::string_view m_rest;
    std::string_view m_separator;
    Decimal m_decimal;
};

double signedZero(bool negative)
{
    return negative ? -0.0 : 0.0;
}

// Everything past these decimal exponents is infinite or zero as a double.
constexpr std::int64_t overflowExponent = 310;
constexpr std::int64_t underflowExponent = -400;

ReadNumber toDouble(const Decimal &decimal)
{
    if (decimal.digits.empty() || decimal.exponent < underflowExponent)
        return {signedZero(decimal.negative), std::nullopt};
    if (decimal.exponent > overflowExponent)
        return {0, ErrorNumber::Overflow};

    std::string canonical = decimal.negative ? "-0." : "0.";
    canonical += decimal.digits;
    if (decimal.droppedNonZero)
        canonical += '1';
    canonical += 'e';
    char exponent[24];
    const auto written = std::to_chars(std::begin(exponent), std::end(exponent), decimal.exponent);
    canonical.append(exponent, written.ptr);

    double value = 0;
    const auto *const end = canonical.data() + canonical.size();
    const auto [ptr, ec] = readDouble(canonical.data(), end, value);
    if (ec == std::errc::result_out_of_range) {
        // Said the same for both ends, with value left alone.
        if (decimal.exponent > 0)
            return {0, ErrorNumber::Overflow};
        return {signedZero(decimal.negative), std::nullopt};
    }
    if (ec != std::errc{} || ptr != end)
        return {0, ErrorNumber::Conversion};
    return {value, std::nullopt};
}

} // namespace

ReadNumber textToNumber(std::string_view text, const NumberFormat &format)
{
    const std::optional<Decimal> decimal =
        DecimalScanner(withoutBlanks(text), format.decimalSeparator).scan();
    if (!decimal)
        return {0, ErrorNumber::Conversion};
    return toDouble(*decimal);
}

} // namespace klimora
