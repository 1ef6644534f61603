// Reading and writing doubles exactly, with whole numbers of any size.
#include "calc/exact_decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace klimora {

namespace {

// A whole number of any size, in 32-bit limbs from the lowest.
class BigNumber {
public:
    explicit BigNumber(std::uint64_t value)
    {
        for (; value != 0; value >>= 32)
            m_limbs.push_back(static_cast<std::uint32_t>(value));
    }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend = 0)
    {
        std::uint64_t carry = addend;
        for (auto &limb : m_limbs) {
            carry += std::uint64_t{limb} * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<std::uint32_t>(carry));
    }

    void multiplyByPowerOf(std::uint32_t base, int exponent)
    {
        for (; exponent > 0; --exponent)
            multiplyAdd(base);
    }

    void shiftLeft(int bits)
    {
        if (m_limbs.empty() || bits <= 0)
            return;
        m_limbs.insert(m_limbs.begin(), static_cast<std::size_t>(bits / 32), 0);
        const int rest = bits % 32;
        if (rest == 0)
            return;
        std::uint32_t carry = 0;
        for (auto &limb : m_limbs) {
            const std::uint32_t next = limb >> (32 - rest);
            limb = (limb << rest) | carry;
            carry = next;
        }
        if (carry != 0)
            m_limbs.push_back(carry);
    }

    // Divides in place; returns the remainder.
    std::uint32_t divide(std::uint32_t divisor)
    {
        std::uint64_t remainder = 0;
        for (std::size_t i = m_limbs.size(); i-- > 0;) {
            remainder = (remainder << 32) | m_limbs[i];
            m_limbs[i] = static_cast<std::uint32_t>(remainder / divisor);
            remainder %= divisor;
        }
        trim();
        return static_cast<std::uint32_t>(remainder);
    }

    // Only where other is not greater.
    void subtract(const BigNumber &other)
    {
        std::int64_t difference = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            difference +=
                std::int64_t{m_limbs[i]} - (i < other.m_limbs.size() ? other.m_limbs[i] : 0);
            m_limbs[i] = static_cast<std::uint32_t>(difference);
            // The borrow: -1 or 0.
            difference >>= 32;
        }
        trim();
    }

    [[nodiscard]] bool isZero() const { return m_limbs.empty(); }

    [[nodiscard]] int bitLength() const
    {
        if (m_limbs.empty())
            return 0;
        int top = 0;
        for (auto limb = m_limbs.back(); limb != 0; limb >>= 1)
            ++top;
        return static_cast<int>(m_limbs.size() - 1) * 32 + top;
    }

    [[nodiscard]] bool notLessThan(const BigNumber &other) const
    {
        if (m_limbs.size() != other.m_limbs.size())
            return m_limbs.size() > other.m_limbs.size();
        return !std::lexicographical_compare(m_limbs.rbegin(), m_limbs.rend(),
                                             other.m_limbs.rbegin(), other.m_limbs.rend());
    }

    std::string decimalDigits() &&
    {
        std::string digits;
        while (!isZero()) {
            auto chunk = divide(1'000'000'000);
            for (int i = 0; i < 9; ++i, chunk /= 10)
                digits.push_back(static_cast<char>('0' + chunk % 10));
        }
        while (digits.ends_with('0'))
            digits.pop_back();
        return {digits.rbegin(), digits.rend()};
    }

private:
    void trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }

    std::vector<std::uint32_t> m_limbs;
};

constexpr int mantissaBits = 53;
constexpr int lowestBinaryExponent = -1074;

// The whole part of numerator / denominator, known to be under 2^55, and
// whether anything remained.
std::uint64_t quotient(BigNumber numerator, const BigNumber &denominator, bool &inexact)
{
    std::uint64_t result = 0;
    for (int bit = mantissaBits + 1; bit >= 0; --bit) {
        BigNumber shifted = denominator;
        shifted.shiftLeft(bit);
        if (numerator.notLessThan(shifted)) {
            numerator.subtract(shifted);
            result |= std::uint64_t{1} << bit;
        }
    }
    inexact = !numerator.isZero();
    return result;
}

// The double nearest to digits x 10^exponent, ties to even.
double nearestDouble(const std::string &digits, int exponent)
{
    BigNumber numerator(0);
    for (const char digit : digits)
        numerator.multiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
    BigNumber denominator(1);
    if (exponent >= 0)
        numerator.multiplyByPowerOf(10, exponent);
    else
        denominator.multiplyByPowerOf(10, -exponent);

    // Scaled by 2^shift so that the quotient holds 54 bits: the mantissa and
    // one more to round by.
    int shift = mantissaBits - (numerator.bitLength() - denominator.bitLength());
    bool inexact = false;
    std::uint64_t scaled = 0;
    for (;; ++shift) {
        BigNumber scaledNumerator = numerator;
        BigNumber scaledDenominator = denominator;
        scaledNumerator.shiftLeft(shift);
        scaledDenominator.shiftLeft(-shift);
        scaled = quotient(std::move(scaledNumerator), scaledDenominator, inexact);
        if (scaled >> mantissaBits != 0)
            break;
    }
    // Below the normal range fewer bits are kept.
    const int dropped = std::max(1, lowestBinaryExponent + shift);
    if (dropped > mantissaBits + 1)
        return 0;
    std::uint64_t kept = scaled >> dropped;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (inexact || (kept & 1) != 0)))
        ++kept;
    return std::ldexp(static_cast<double>(kept), dropped - shift);
}

// Every digit of a finite, nonzero magnitude: 0.<digits> x 10^point.
std::string exactDigits(double magnitude, int &point)
{
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    BigNumber whole(static_cast<std::uint64_t>(std::ldexp(fraction, mantissaBits)));
    binaryExponent -= mantissaBits;
    // m / 2^k is m x 5^k / 10^k.
    whole.shiftLeft(binaryExponent);
    whole.multiplyByPowerOf(5, -binaryExponent);
    std::string digits = std::move(whole).decimalDigits();
    point = static_cast<int>(digits.size()) + std::min(binaryExponent, 0);
    return digits;
}

// Keeps the first `count` digits, rounded half to even; a carry past the
// first digit adds one in front and moves the point.
void roundDigits(std::string &digits, int count, int &point)
{
    if (count < 0) {
        digits.clear();
        return;
    }
    const auto kept = static_cast<std::size_t>(count);
    if (digits.size() <= kept) {
        digits.append(kept - digits.size(), '0');
        return;
    }
    const char next = digits[kept];
    const bool restIsZero = digits.find_first_not_of('0', kept + 1) == std::string::npos;
    const bool odd = kept > 0 && (digits[kept - 1] - '0') % 2 == 1;
    const bool up = next > '5' || (next == '5' && (!restIsZero || odd));
    digits.resize(kept);
    if (!up)
        return;
    auto position = digits.find_last_not_of('9');
    std::fill(digits.begin() + static_cast<std::ptrdiff_t>(position + 1), digits.end(), '0');
    if (position == std::string::npos) {
        digits.insert(digits.begin(), '1');
        ++point;
    } else {
        ++digits[position];
    }
}

char *copy(std::span<char> buffer, const std::string &text)
{
    if (text.size() > buffer.size())
        return buffer.data();
    return std::copy(text.begin(), text.end(), buffer.data());
}

std::string scientific(std::string digits, int point, int precision)
{
    const bool zero = digits.empty();
    roundDigits(digits, precision + 1, point);
    digits.resize(static_cast<std::size_t>(precision) + 1);
    std::string text = digits.substr(0, 1);
    if (precision > 0)
        text += '.' + digits.substr(1);
    const int exponent = zero ? 0 : point - 1;
    text += exponent < 0 ? "e-" : "e+";
    const auto magnitude = std::to_string(std::abs(exponent));
    return text + (magnitude.size() < 2 ? "0" : "") + magnitude;
}

std::string fixed(std::string digits, int point, int precision)
{
    roundDigits(digits, point + precision, point);
    if (point < 1) {
        digits.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    }
    const auto whole = static_cast<std::size_t>(point);
    digits.resize(whole + static_cast<std::size_t>(precision), '0');
    return precision > 0 ? digits.substr(0, whole) + '.' + digits.substr(whole) : digits;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

ReadDouble exactReadDouble(const char *first, const char *last, double &value)
{
    const char *at = first;
    const bool negative = at != last && *at == '-';
    at += negative ? 1 : 0;
    std::string digits;
    int exponent = 0;
    bool anyDigit = false;
    bool afterPoint = false;
    for (; at != last; ++at) {
        if (*at == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(*at))
            break;
        anyDigit = true;
        if (!digits.empty() || *at != '0')
            digits.push_back(*at);
        exponent -= afterPoint ? 1 : 0;
    }
    if (!anyDigit)
        return {first, std::errc::invalid_argument};

    const char *afterE = at + (at != last && (*at == 'e' || *at == 'E') ? 1 : 0);
    const bool exponentNegative = afterE != last && *afterE == '-';
    const char *exponentDigits =
        afterE + (afterE != last && (*afterE == '-' || *afterE == '+') ? 1 : 0);
    if (afterE != at && exponentDigits != last && isDigit(*exponentDigits)) {
        int written = 0;
        for (at = exponentDigits; at != last && isDigit(*at); ++at)
            written = std::min(written * 10 + (*at - '0'), 100'000'000);
        exponent += exponentNegative ? -written : written;
    }

    // Leading zeros are dropped above, trailing ones here.
    const auto significant = digits.find_last_not_of('0');
    exponent += static_cast<int>(digits.size() - (significant + 1));
    digits.resize(significant + 1);
    double magnitude = 0;
    const int decimalPlaces = exponent + static_cast<int>(digits.size());
    if (!digits.empty() && decimalPlaces > 310)
        magnitude = HUGE_VAL;
    else if (!digits.empty() && decimalPlaces > -330)
        magnitude = nearestDouble(digits, exponent);
    if (std::isinf(magnitude) || (magnitude == 0 && !digits.empty()))
        return {at, std::errc::result_out_of_range};
    value = negative ? -magnitude : magnitude;
    return {at, std::errc{}};
}

char *exactWriteDouble(std::span<char> buffer, double value, DoubleForm form, int precision)
{
    std::string text = std::signbit(value) ? "-" : "";
    if (!std::isfinite(value))
        return copy(buffer, text + (std::isnan(value) ? "nan" : "inf"));
    int point = 0;
    const std::string digits = value == 0 ? "" : exactDigits(std::fabs(value), point);
    text += form == DoubleForm::Scientific ? scientific(digits, point, precision)
                                           : fixed(digits, point, precision);
    return copy(buffer, text);
}

} // namespace klimora
