#include "calc/calc_error.h"
#include "calc/cooling_load.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace klimora {
namespace {

const NumberFormat comma{","};

CoolingLoadAnswers initialAnswers()
{
    return {false, "0", "0", "0", "0", "0", false, false};
}

struct Example {
    const char *name;
    CoolingLoadAnswers answers;
    CoolingLoadFields expected;
    std::string shown;
};

void PrintTo(const Example &example, std::ostream *out)
{
    *out << example.name;
}

class CoolingLoadExample : public testing::TestWithParam<Example> {};

TEST_P(CoolingLoadExample, WritesEveryFieldAndTheTotal)
{
    const auto &example = GetParam();
    CoolingLoadFields fields{-1, -1, -1, -1};
    EXPECT_EQ(computeCoolingLoad(example.answers, fields, comma), std::nullopt);
    EXPECT_EQ(fields.m, example.expected.m);
    EXPECT_EQ(fields.dato1, example.expected.dato1);
    EXPECT_EQ(fields.dato2, example.expected.dato2);
    EXPECT_EQ(fields.dato3, example.expected.dato3);
    EXPECT_EQ(numberToText(fields.dato3, comma), example.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CoolingLoadExample,
    testing::Values(Example{"Untouched", initialAnswers(), {0, 0, 0, 0}, "0"},
                    Example{"TopFloorSunnyWithAppliances",
                            {true, "4", "5", "3", "9", "2", true, true},
                            {20, 1730, 2549, 3049},
                            "3049"},
                    // Length and width still count for the area when not on the top floor,
                    // yet the roof term is left out.
                    Example{"NotTopFloor",
                            {false, "4", "5", "3", "9", "2", false, false},
                            {20, 1230, 1530, 1530},
                            "1530"},
                    // Single-precision area: 3,3 x 4,1 is not 13,53.
                    Example{"SinglePrecisionArea",
                            {true, "3,3", "4,1", "0", "0", "0", false, false},
                            {13.529999732971191F, 338.2499933242798, 338.2499933242798,
                             338.2499933242798},
                            "338,24999332428"},
                    // The sun factor leaves the occupants and the appliances alone.
                    Example{"SunOnFabricOnly",
                            {false, "0", "0", "3", "19", "1", true, true},
                            {0, 1730, 2399, 2899},
                            "2899"},
                    Example{"NegativeOccupants",
                            {false, "0", "0", "0", "0", "-3", false, false},
                            {0, 0, -450, -450},
                            "-450"},
                    Example{"FractionsAndNegatives",
                            {true, "-2", "1,5", "0,5", "-1", "0", false, false},
                            {-3, 5, 5, 5},
                            "5"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CoolingLoad, SunFactorOnSeventeenThirtyIsExact)
{
    CoolingLoadFields fields;
    computeCoolingLoad({true, "4", "5", "3", "9", "0", true, false}, fields, comma);
    EXPECT_EQ(fields.dato2, 2249.0);
}

struct Failure {
    const char *name;
    CoolingLoadAnswers answers;
    ErrorNumber error;
    Answer answer;
    // Fields written before the failing step; the rest keep the sentinel.
    int stepsDone;
};

void PrintTo(const Failure &failure, std::ostream *out)
{
    *out << failure.name;
}

class CoolingLoadFailure : public testing::TestWithParam<Failure> {};

TEST_P(CoolingLoadFailure, StopsAtTheStepThatFails)
{
    const auto &failure = GetParam();
    const CoolingLoadFields before{-7, -7, -7, -7};
    CoolingLoadFields fields = before;
    const std::optional<CalcError> error = computeCoolingLoad(failure.answers, fields, comma);
    ASSERT_TRUE(error) << "no error";
    EXPECT_EQ(error->number(), failure.error);
    EXPECT_EQ(error->answer(), failure.answer);
    EXPECT_EQ(fields.m != before.m, failure.stepsDone >= 1);
    EXPECT_EQ(fields.dato1 != before.dato1, failure.stepsDone >= 2);
    EXPECT_EQ(fields.dato2 != before.dato2, failure.stepsDone >= 3);
    EXPECT_EQ(fields.dato3, before.dato3);
}

CoolingLoadAnswers with(CoolingLoadAnswers answers, std::string CoolingLoadAnswers::*field,
                        const std::string &text)
{
    answers.*field = text;
    return answers;
}

CoolingLoadAnswers topFloor(CoolingLoadAnswers answers)
{
    answers.topFloor = true;
    return answers;
}

CoolingLoadAnswers sunny(CoolingLoadAnswers answers)
{
    answers.sunny = true;
    return answers;
}

constexpr auto conversion = ErrorNumber::Conversion;
constexpr auto overflow = ErrorNumber::Overflow;
using A = CoolingLoadAnswers;
const auto base = initialAnswers();

INSTANTIATE_TEST_SUITE_P(
    Order, CoolingLoadFailure,
    testing::Values(
        Failure{"EmptyOpenings", with(base, &A::openings, ""), conversion, Answer::Openings, 1},
        // Greyed boxes still count: the area is computed whatever the answer.
        Failure{"BadLengthNotTopFloor", with(base, &A::length, "x"), conversion, Answer::Length, 0},
        Failure{"WidthBeforeLength", with(with(base, &A::length, "x"), &A::width, "y"), conversion,
                Answer::Width, 0},
        Failure{"WallsFirstOffTheTop", with(with(base, &A::openings, "x"), &A::walls, "y"),
                conversion, Answer::Walls, 1},
        Failure{"OpeningsFirstOnTheTop",
                topFloor(with(with(base, &A::openings, "x"), &A::walls, "y")), conversion,
                Answer::Openings, 1},
        Failure{"BadOccupants", with(base, &A::occupants, "dos"), conversion, Answer::Occupants, 2},
        Failure{"AreaBeyondSingle", with(with(base, &A::length, "1e20"), &A::width, "1e20"),
                overflow, Answer::Length, 0},
        Failure{"AreaJustBeyondSingle",
                with(with(base, &A::length, "3,4028236e38"), &A::width, "1"), overflow,
                Answer::Length, 0},
        Failure{"TextBeyondDouble", with(base, &A::walls, "1e309"), overflow, Answer::Walls, 1},
        Failure{"OpeningsTermBeyondDouble", with(base, &A::openings, "1e307"), overflow,
                Answer::Openings, 1},
        Failure{"WallsTermBeyondDouble", topFloor(with(base, &A::walls, "1e307")), overflow,
                Answer::Walls, 1},
        Failure{"FabricSumBeyondDouble",
                with(with(base, &A::openings, "6e305"), &A::walls, "3e306"), overflow,
                Answer::Walls, 1},
        Failure{"OccupantsTermBeyondDouble", with(base, &A::occupants, "1,5e306"), overflow,
                Answer::Occupants, 2},
        Failure{"SunnyFabricBeyondDouble", sunny(with(base, &A::openings, "6e305")), overflow,
                Answer::None, 2},
        Failure{"OccupantsSumBeyondDouble",
                with(with(base, &A::walls, "3e306"), &A::occupants, "1e306"), overflow,
                Answer::Occupants, 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CoolingLoad, AreaUpToTheSingleRangeIsAccepted)
{
    CoolingLoadFields fields;
    computeCoolingLoad(with(with(base, &A::length, "3,4028234e38"), &A::width, "1"), fields, comma);
    EXPECT_EQ(fields.m, 3.4028234e38F);
}

} // namespace
} // namespace klimora
