#include "calc/calculation_report.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace klimora {
namespace {

struct Report {
    const char *name;
    CoolingLoadAnswers answers;
    // Each row as "name term share bar".
    std::string rows;
    // The class marked as the one that corresponds; "" for none, and null
    // where no class is listed at all.
    const char *marked;
};

void PrintTo(const Report &report, std::ostream *out)
{
    *out << report.name;
}

// The no-break space before "%" as "_".
std::string visible(std::string text)
{
    if (const auto space = text.find("\u00a0"); space != std::string::npos)
        text.replace(space, 2, "_");
    return text;
}

std::string shownRows(const std::vector<BreakdownRow> &rows)
{
    std::string shown;
    for (const BreakdownRow &row : rows)
        shown += (shown.empty() ? "" : ", ") + row.name + ' ' + row.term + ' ' +
                 visible(row.share) + ' ' + std::to_string(row.barPercent);
    return shown;
}

class CalculationReportRows : public testing::TestWithParam<Report> {};

TEST_P(CalculationReportRows, AddUpToTheTotalAndMarkTheSmallestClassThatIsEnough)
{
    const auto &example = GetParam();
    const NumberFormat comma{","};
    CoolingLoadFields fields;
    CoolingLoadTerms terms;
    const double total = computeCoolingLoad(example.answers, fields, comma, &terms);
    const CalculationReport report = reportCalculation(example.answers, terms, total, comma);
    EXPECT_EQ(shownRows(report.breakdown), example.rows);

    std::string marked;
    int markedCount = 0;
    for (const UnitClassOffer &offer : report.units.classes) {
        if (offer.corresponds) {
            marked = visible(offer.text);
            ++markedCount;
        }
    }
    if (example.marked == nullptr) {
        EXPECT_TRUE(report.units.classes.empty());
        EXPECT_TRUE(report.units.advice.empty());
        return;
    }
    EXPECT_EQ(report.units.classes.size(), 6U);
    EXPECT_LE(markedCount, 1);
    EXPECT_EQ(marked, example.marked);
    EXPECT_EQ(report.units.advice.starts_with("Ningún"), marked.empty()) << report.units.advice;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CalculationReportRows,
    testing::Values(
        Report{"TopFloorSunnyWithAppliances", {true, "4", "5", "3", "9", "2", true, true},
               "Techo 500 16_% 16, Puertas y ventanas 780 26_% 26, Paredes 450 15_% 15, "
               "Sol 519 17_% 17, Personas 300 10_% 10, Luces y aparatos 500 16_% 16",
               "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 99_%. Es el que corresponde"},
        Report{"NotTopFloor", {false, "4", "5", "3", "9", "2", false, false},
               "Puertas y ventanas 780 51_% 51, Paredes 450 29_% 29, Personas 300 20_% 20",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 148_%. Es el que corresponde"},
        Report{"SinglePrecisionArea", {true, "3,3", "4,1", "0", "0", "0", false, false},
               "Techo 338 100_% 100, Puertas y ventanas 0 0_% 0, Paredes 0 0_% 0, Personas 0 0_% 0",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 670_%. Es el que corresponde"},
        // 10,4 + 10,45 + 0,15: rounded one by one the rows would add up to 20.
        Report{"LargestRemainder", {false, "0", "0", "0,04", "0,209", "0,001", false, false},
               "Puertas y ventanas 10 50_% 50, Paredes 11 50_% 50, Personas 0 1_% 1",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 10799_%. Es el que corresponde"},
        Report{"NegativeTermOfAPositiveTotal", {false, "0", "0", "3", "9", "-2", false, false},
               "Puertas y ventanas 780 84_% 84, Paredes 450 48_% 48, Personas -300 -32_% 0",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 243_%. Es el que corresponde"},
        Report{"NegativeTotal", {false, "0", "0", "0", "0", "-3", false, false},
               "Puertas y ventanas 0  0, Paredes 0  0, Personas -450  0", nullptr},
        Report{"Untouched", {false, "0", "0", "0", "0", "0", false, false},
               "Puertas y ventanas 0  0, Paredes 0  0, Personas 0  0", nullptr},
        Report{"PastEveryClass", {false, "0", "0", "40", "0", "0", false, false},
               "Puertas y ventanas 10400 100_% 100, Paredes 0 0_% 0, Personas 0 0_% 0", ""},
        // 12000 BTU/h give 3023,95 frigorías/hora: 95 % of 3183,10.
        Report{"JustEnough", {false, "0", "0", "0", "0", "21,22", false, false},
               "Puertas y ventanas 0 0_% 0, Paredes 0 0_% 0, Personas 3183 100_% 100",
               "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 95_%. Es el que corresponde"},
        Report{"JustShort", {false, "0", "0", "0", "0", "21,221", false, false},
               "Puertas y ventanas 0 0_% 0, Paredes 0 0_% 0, Personas 3183 100_% 100",
               "18000 BTU/h · 4500 frigorías · 5,3 kW: cubre el 142_%. Es el que corresponde"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace klimora
