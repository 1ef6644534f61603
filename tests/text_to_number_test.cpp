#include "calc/calc_error.h"
#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <ostream>
#include <string>

namespace klimora {
namespace {

const NumberFormat comma{","};
const NumberFormat dot{"."};

// Keeps test names short when a case holds a very long text.
std::string shortened(const std::string &text)
{
    constexpr std::size_t shown = 30;
    return text.size() <= shown ? text : text.substr(0, shown) + "...";
}

struct Accepted {
    std::string text;
    NumberFormat format;
    double expected;
};

void PrintTo(const Accepted &accepted, std::ostream *out)
{
    *out << '"' << shortened(accepted.text) << "\" with " << accepted.format.decimalSeparator;
}

class TextToNumberAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(TextToNumberAccepts, ReadsTheWholeText)
{
    const auto &[text, format, expected] = GetParam();
    EXPECT_EQ(textToNumber(text, format).value, expected) << '"' << text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToNumberAccepts,
    testing::Values(
        Accepted{"0", comma, 0}, Accepted{"3049", comma, 3049}, Accepted{"3,5", comma, 3.5},
        Accepted{"3.5", dot, 3.5}, Accepted{"3,", comma, 3}, Accepted{",5", comma, 0.5},
        Accepted{"-150", comma, -150}, Accepted{"+2", comma, 2}, Accepted{" \t7 ", comma, 7},
        Accepted{"\xC2\xA0"
                 "8\xC2\xA0",
                 comma, 8},
        Accepted{"1E3", comma, 1000}, Accepted{"2,5e-1", comma, 0.25}, Accepted{"1e+2", dot, 100},
        Accepted{"000012", comma, 12}, Accepted{"0,000", comma, 0}, Accepted{"3,3", comma, 3.3},
        Accepted{"4,1", comma, 4.1},
        // Correct rounding needs every digit, even past the 800th.
        Accepted{"1" + std::string(900, '0') + "e-900", comma, 1},
        Accepted{"0," + std::string(900, '0') + "1e901", comma, 1},
        // Zeros past the kept digits, then one that is not.
        Accepted{"0,1" + std::string(799, '0') + "1", comma, 0.1},
        Accepted{"1" + std::string(799, '0') + "5e-799", comma, 10},
        Accepted{"1,7976931348623157e308", comma, DBL_MAX},
        Accepted{"4,9406564584124654e-324", comma, 4.9406564584124654e-324},
        Accepted{"2,2250738585072014E-308", comma, DBL_MIN}, Accepted{"1e-400", comma, 0},
        Accepted{"-1e-99999999999999999999", comma, 0}, Accepted{"0e99999", comma, 0},
        Accepted{"٫5", NumberFormat{"٫"}, 0.5}));

TEST(TextToNumber, UnderflowKeepsTheSign)
{
    EXPECT_TRUE(std::signbit(textToNumber("-1e-400", comma).value));
}

TEST(TextToNumber, RoundsHalfwayCasesWithDroppedDigitsUpward)
{
    // Exactly between 1 and the next double, then nudged up by a digit far
    // beyond what is kept verbatim.
    const std::string halfway = "1,00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(textToNumber(halfway, comma).value, 1.0);
    EXPECT_EQ(textToNumber(halfway + std::string(900, '0') + "1", comma).value,
              std::nextafter(1.0, 2.0));
}

struct Rejected {
    std::string text;
    NumberFormat format;
    ErrorNumber error;
};

void PrintTo(const Rejected &rejected, std::ostream *out)
{
    *out << '"' << shortened(rejected.text) << "\" with " << rejected.format.decimalSeparator;
}

class TextToNumberRejects : public testing::TestWithParam<Rejected> {};

TEST_P(TextToNumberRejects, WithTheRightErrorNumber)
{
    const auto &[text, format, error] = GetParam();
    const ReadNumber read = textToNumber(text, format);
    EXPECT_EQ(read.error, error) << '"' << text << "\" read as " << read.value;
}

constexpr auto conversion = ErrorNumber::Conversion;
constexpr auto overflow = ErrorNumber::Overflow;

INSTANTIATE_TEST_SUITE_P(
    NotANumber, TextToNumberRejects,
    testing::Values(Rejected{"", comma, conversion}, Rejected{" ", comma, conversion},
                    Rejected{"abc", comma, conversion}, Rejected{"12abc", comma, conversion},
                    // Group separators would silently turn 3.5 into 35.
                    Rejected{"3.5", comma, conversion}, Rejected{"1.000", comma, conversion},
                    Rejected{"1,000", dot, conversion}, Rejected{"1,5,", comma, conversion},
                    Rejected{",", comma, conversion}, Rejected{"-", comma, conversion},
                    Rejected{"+-1", comma, conversion}, Rejected{"5-", comma, conversion},
                    Rejected{"(5)", comma, conversion}, Rejected{"1 2", comma, conversion},
                    Rejected{"e5", comma, conversion}, Rejected{"1e", comma, conversion},
                    Rejected{"1e+", comma, conversion}, Rejected{"1e2,5", comma, conversion},
                    Rejected{"0x1A", comma, conversion}, Rejected{"inf", comma, conversion},
                    Rejected{"NaN", comma, conversion}, Rejected{"5€", comma, conversion},
                    Rejected{"$5", comma, conversion}, Rejected{"١٢", comma, conversion},
                    Rejected{"５", comma, conversion},
                    Rejected{std::string("1\0", 2), comma, conversion},
                    Rejected{"1\n", comma, conversion}));

INSTANTIATE_TEST_SUITE_P(BeyondDouble, TextToNumberRejects,
                         testing::Values(Rejected{"1,7976931348623159e308", comma, overflow},
                                         Rejected{"-1e309", comma, overflow},
                                         Rejected{"1e99999999999999999999", comma, overflow},
                                         Rejected{std::string(400, '9'), comma, overflow}));

TEST(TextToNumber, AMegabyteOfDigitsIsStillOneNumber)
{
    const std::string zeros(1 << 20, '0');
    EXPECT_EQ(textToNumber(zeros + "7", comma).value, 7);
    EXPECT_EQ(textToNumber("0," + zeros + "5e1048577", comma).value, 5);
}

} // namespace
} // namespace klimora
