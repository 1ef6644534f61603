#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <ostream>
#include <string>

namespace klimora {
namespace {

struct Written {
    double value;
    std::string comma;
    std::string dot;
};

void PrintTo(const Written &written, std::ostream *out)
{
    *out << written.dot;
}

class NumberToText : public testing::TestWithParam<Written> {};

TEST_P(NumberToText, FollowsTheRegionalSeparator)
{
    const auto &[value, withComma, withDot] = GetParam();
    EXPECT_EQ(numberToText(value, NumberFormat{","}), withComma);
    EXPECT_EQ(numberToText(value, NumberFormat{"."}), withDot);
}

INSTANTIATE_TEST_SUITE_P(
    Plain, NumberToText,
    testing::Values(Written{0, "0", "0"}, Written{-0.0, "0", "0"}, Written{3049, "3049", "3049"},
                    Written{1530, "1530", "1530"}, Written{-150, "-150", "-150"},
                    Written{0.5, "0,5", "0.5"},
                    Written{338.2499933242798, "338,24999332428", "338.24999332428"},
                    Written{2249.0000000000005, "2249", "2249"}, Written{0.1 + 0.2, "0,3", "0.3"},
                    Written{0.0001, "0,0001", "0.0001"},
                    Written{1.5e-7, "0,00000015", "0.00000015"},
                    Written{123456789012345, "123456789012345", "123456789012345"},
                    Written{999999999999999.4, "999999999999999", "999999999999999"},
                    Written{-1234567.125, "-1234567,125", "-1234567.125"},
                    Written{1e14, "100000000000000", "100000000000000"}));

INSTANTIATE_TEST_SUITE_P(
    ExponentForm, NumberToText,
    testing::Values(
        Written{1e15, "1E+15", "1E+15"},
        // Rounding to 15 digits reaches 1E15.
        Written{999999999999999.9, "1E+15", "1E+15"}, Written{-1.25e20, "-1,25E+20", "-1.25E+20"},
        Written{5.6789e-12, "5,6789E-12", "5.6789E-12"}, Written{1e-20, "1E-20", "1E-20"},
        Written{DBL_MAX, "1,79769313486232E+308", "1.79769313486232E+308"},
        Written{-DBL_MAX, "-1,79769313486232E+308", "-1.79769313486232E+308"},
        Written{4.9406564584124654e-324, "4,94065645841247E-324", "4.94065645841247E-324"},
        Written{1.23456789012345e-5, "1,23456789012345E-05", "1.23456789012345E-05"}));

TEST(NumberToTextSeparator, MayBeLongerThanOneByte)
{
    EXPECT_EQ(numberToText(0.5, NumberFormat{"٫"}), "0٫5");
}

TEST(NumberToFixedText, RoundsToItsDecimalsAndStaysReadable)
{
    const struct {
        double value;
        int decimals;
        std::string text;
    } cases[] = {
        {3.545987, 2, "3,55"},
        {12099.3, 0, "12099"},
        {0, 2, "0,00"},
        {-0.001, 2, "0,00"},
        {-1.005, 1, "-1,0"},
        {2.5, 0, "2"},
        {999999999999999, 0, "999999999999999"},
        {1e15, 2, "1E+15"},
        {999999999999999.6, 0, "1E+15"},
        {-999999999999999.6, 0, "-1E+15"},
        {-2.5e300, 0, "-2,5E+300"},
    };
    for (const auto &[value, decimals, text] : cases)
        EXPECT_EQ(numberToFixedText(value, decimals, NumberFormat{","}), text) << value;
}

} // namespace
} // namespace klimora
