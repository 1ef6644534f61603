#include "calc/actions.h"
#include "calc/calculation_report.h"
#include "calc/home_report.h"
#include "calc/running_cost.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

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
    const auto space = text.find("\u00a0");
    return space == std::string::npos ? text : text.substr(0, space) + '_' + text.substr(space + 2);
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
    const CalculationResult result = calculate(example.answers, comma);
    ASSERT_FALSE(result.failure);
    const CalculationReport &report = result.report;
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
        Report{"TopFloorSunnyWithAppliances",
               {true, "4", "5", "3", "9", "2", true, true},
               "Techo 500 16_% 16, Puertas y ventanas 780 26_% 26, Paredes 450 15_% 15, "
               "Sol 519 17_% 17, Personas 300 10_% 10, Luces y aparatos 500 16_% 16",
               "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 98_%. Es el que corresponde"},
        Report{"NotTopFloor",
               {false, "4", "5", "3", "9", "2", false, false},
               "Puertas y ventanas 780 51_% 51, Paredes 450 29_% 29, Personas 300 20_% 20",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 147_%. Es el que corresponde"},
        Report{"SinglePrecisionArea",
               {true, "3,3", "4,1", "0", "0", "0", false, false},
               "Techo 338 100_% 100, Puertas y ventanas 0 0_% 0, Paredes 0 0_% 0, Personas 0 0_% 0",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 665_%. Es el que corresponde"},
        // 10,4 + 10,45 + 0,15: rounded one by one the rows would add up to 20, and
        // the row shown as 0 would take 1 %.
        Report{"LargestRemainder",
               {false, "0", "0", "0,04", "0,209", "0,001", false, false},
               "Puertas y ventanas 10 48_% 48, Paredes 11 52_% 52, Personas 0 0_% 0",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre más del 999_%. Es el que corresponde"},
        // Each share rounded on its own would add up to 99 %.
        Report{"SharesAddUpTo100",
               {true, "5", "3", "1", "6", "9", true, true},
               "Techo 375 12_% 12, Puertas y ventanas 260 9_% 9, Paredes 300 10_% 10, "
               "Sol 281 9_% 9, Personas 1350 44_% 44, Luces y aparatos 500 16_% 16",
               "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 97_%. Es el que corresponde"},
        Report{"NegativeTermOfAPositiveTotal",
               {false, "0", "0", "3", "9", "-2", false, false},
               "Puertas y ventanas 780  0, Paredes 450  0, Personas -300  0",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre el 241_%. Es el que corresponde"},
        Report{"NegativeTotal",
               {false, "0", "0", "0", "0", "-3", false, false},
               "Puertas y ventanas 0  0, Paredes 0  0, Personas -450  0",
               nullptr},
        Report{"Untouched",
               {false, "0", "0", "0", "0", "0", false, false},
               "Puertas y ventanas 0  0, Paredes 0  0, Personas 0  0",
               nullptr},
        Report{"AlmostNothing",
               {false, "0", "0", "0", "0", "1e-320", false, false},
               "Puertas y ventanas 0 0_% 0, Paredes 0 0_% 0, Personas 0 100_% 100",
               "9000 BTU/h · 2250 frigorías · 2,6 kW: cubre más del 999_%. Es el que corresponde"},
        Report{"PastEveryClass",
               {false, "0", "0", "40", "0", "0", false, false},
               "Puertas y ventanas 10400 100_% 100, Paredes 0 0_% 0, Personas 0 0_% 0",
               ""},
        // 3000 frigorías are 95 % of 3157,89 (3157,5 here, 3158 next): each
        // share is of the frigorías the item names.
        Report{"JustEnough",
               {false, "0", "0", "0", "63,15", "0", false, false},
               "Puertas y ventanas 0 0_% 0, Paredes 3158 100_% 100, Personas 0 0_% 0",
               "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 95_%. Es el que corresponde"},
        Report{"JustShort",
               {false, "0", "0", "0", "63,16", "0", false, false},
               "Puertas y ventanas 0 0_% 0, Paredes 3158 100_% 100, Personas 0 0_% 0",
               "18000 BTU/h · 4500 frigorías · 5,3 kW: cubre el 142_%. Es el que corresponde"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Home {
    const char *name;
    std::vector<HomeRoom> rooms;
    // Each room as "name: total / unit", "!" before one that cannot be read,
    // then the home's total and units.
    std::string figures;
};

void PrintTo(const Home &home, std::ostream *out)
{
    *out << home.name;
}

class HomeReportRows : public testing::TestWithParam<Home> {};

TEST_P(HomeReportRows, AddUpTheRoomsThatHaveATotalAndCountTheirUnitsBySize)
{
    const HomeReport home = homeReport(GetParam().rooms, "0,1", NumberFormat{","});
    std::string figures;
    for (const RoomFigures &room : home.rooms)
        figures +=
            (room.readable ? "" : "!") + room.name + ": " + room.total + " / " + room.unit + "\n";
    EXPECT_EQ(figures + home.total + "\n" + home.units + "\n" + home.energy, GetParam().figures);
}

INSTANTIATE_TEST_SUITE_P(
    Rooms, HomeReportRows,
    testing::Values(
        // The last room was saved with the point, and is read as it was written.
        Home{"TwoSizes",
             {{"Salón", "v=1&sep=coma&atico=si&largo=4&ancho=5&puertas=3&paredes=9&soleada=si&"
                        "personas=2&aparatos=si"},
              {"Cocina", "v=1&sep=coma&atico=no&largo=0&ancho=0&puertas=3&paredes=9&personas=2"},
              {"Ático",
               "v=1&sep=punto&atico=si&largo=3.3&ancho=4.1&puertas=0&paredes=0&personas=0"}},
             "Salón: 3049 frigorias/hora / 12000 BTU/h · 3000 frigorías\n"
             "Cocina: 1530 frigorias/hora / 9000 BTU/h · 2250 frigorías\n"
             "Ático: 338,24999332428 frigorias/hora / 9000 BTU/h · 2250 frigorías\n"
             "Total de la casa: 4917,24999332428 frigorías/hora\n"
             "2 equipos de 2250 frigorías y 1 de 3000 frigorías\n"
             "La casa gasta como mucho 1966 kWh al año: unos 197."},
        // Only rooms with a total count, and a room that needs no cooling adds nothing.
        Home{"RoomsWithoutAUnit",
             {{"a", "otra cosa"},
              {"b", "v=1&personas=2&puertas=%ZZ"},
              {"c", "v=1&largo=0&ancho=0&puertas=tres&paredes=0&personas=0"},
              {"d", "v=1&largo=0&ancho=0&puertas=40&paredes=0&personas=0"},
              {"e", "v=1&largo=0&ancho=0&puertas=0&paredes=0&personas=-3"},
              {"f", "v=1&largo=0&ancho=0&puertas=0&paredes=0&personas=0"},
              {"g", "v=1&largo=0&ancho=0&puertas=3&paredes=0&personas=0"}},
             "!a:  / Sin resultado: las respuestas guardadas no se pueden leer.\n"
             "!b:  / Sin resultado: las respuestas guardadas no se pueden leer.\n"
             "c:  / Sin resultado: Error 13: No coinciden los tipos\n"
             "d: 10400 frigorias/hora / Ningún equipo habitual es suficiente\n"
             "e: -450 frigorias/hora / No necesita equipo\n"
             "f: 0 frigorias/hora / No necesita equipo\n"
             "g: 780 frigorias/hora / 9000 BTU/h · 2250 frigorías\n"
             "Total de la casa: 11180 frigorías/hora, sin contar 3 habitaciones sin resultado ni "
             "2 habitaciones que no necesitan equipo\n"
             "1 equipo de 2250 frigorías. Para 1 habitación, más de un equipo o un instalador\n"
             "La casa gasta como mucho 590 kWh al año, sin contar 4 habitaciones: unos 59,04."},
        // Each room within the range, their sum beyond it.
        Home{"SumBeyondTheRange",
             {{"a", "v=1&largo=0&ancho=0&puertas=0&paredes=0&personas=1e306"},
              {"b", "v=1&largo=0&ancho=0&puertas=0&paredes=0&personas=1e306"}},
             "a: 1,5E+308 frigorias/hora / Ningún equipo habitual es suficiente\n"
             "b: 1,5E+308 frigorias/hora / Ningún equipo habitual es suficiente\n"
             "Total de la casa: Error 6: Desbordamiento\n"
             "Para 2 habitaciones, más de un equipo o un instalador\n"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Cost {
    const char *name;
    CostAnswers answers;
    // The power prefilled, the sentence, the comparison and the boxes to mend.
    const char *expected;
};

void PrintTo(const Cost &cost, std::ostream *out)
{
    *out << cost.name;
}

class RunningCostRows : public testing::TestWithParam<Cost> {};

TEST_P(RunningCostRows, SaysWhatTheUnitUsesAtMostAndCostsOrWhichBoxToMend)
{
    const RunningCost cost = runningCost(3000, GetParam().answers, NumberFormat{","});
    std::string boxes;
    for (const CostProblem &problem : cost.problems)
        boxes += std::string(problem.box) + ' ';
    EXPECT_EQ(cost.prefilledPower + " W | " + cost.sentence + " | " + cost.comparison + " | " +
                  boxes,
              GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Boxes, RunningCostRows,
    testing::Values(
        Cost{"FirstFigures", {}, "1090 W | Usado 8 horas por día durante 90 días al año, gasta como mucho "
             "8,72 kWh por día y 785 kWh al año. |  | "},
        Cost{"AtAPrice", {"", "", "", "", "150", "", "", ""}, "1090 W | Usado 8 horas por día durante 90 días al año, "
             "gasta como mucho 8,72 kWh por día y 785 kWh al año: unos 117720 al precio que indicó. |  | "},
        Cost{"RangeEdges", {"", "100000", "24", "366", "0", "1", "", ""}, "1090 W | Usado 24 horas por día durante "
             "366 días al año, gasta como mucho 2400 kWh por día y 878400 kWh al año: unos 0 al precio que "
             "indicó. | El otro gasta como mucho 8,78 kWh al año: 878391 kWh menos, unos 0 menos. | "},
        Cost{"PastEachRange", {"", "0", "24,5", "367", "-1", "100001", "-1", "-0,01"},
             "1090 W |  |  | potencia horas dias precio potencia-otro compra compra-otro "},
        Cost{"NoNumbers", {"", "mil", "8.5", "x", "1,2,3", "", "gratis", ""},
             "1090 W |  |  | potencia horas dias precio compra "},
        Cost{"PriceBeyondTheRange", {"", "", "", "", "1e308", "", "", ""}, "1090 W | Usado 8 horas por día "
             "durante 90 días al año, gasta como mucho 8,72 kWh por día y 785 kWh al año. |  | precio "},
        Cost{"PaysBack", {"", "1000", "8", "90", "0,2", "800", "500", "600"}, "1090 W | Usado 8 horas por día "
             "durante 90 días al año, gasta como mucho 8 kWh por día y 720 kWh al año: unos 144 al precio que "
             "indicó. | El otro gasta como mucho 576 kWh al año: 144 kWh menos, unos 28,8 menos. Lo que el otro "
             "cuesta de más se recupera en unos 3,5 años con lo que ahorra. | "},
        Cost{"NeverPaysBack", {"", "1000", "8", "90", "0,2", "1000", "500", "600"}, "1090 W | Usado 8 horas por "
             "día durante 90 días al año, gasta como mucho 8 kWh por día y 720 kWh al año: unos 144 al precio "
             "que indicó. | Los dos gastan lo mismo. Lo que el otro cuesta de más no se recupera con lo que "
             "ahorra. | "},
        Cost{"CheaperBoth", {"", "1000", "8", "90", "0,2", "800", "500", "400"}, "1090 W | Usado 8 horas por "
             "día durante 90 días al año, gasta como mucho 8 kWh por día y 720 kWh al año: unos 144 al precio "
             "que indicó. | El otro gasta como mucho 576 kWh al año: 144 kWh menos, unos 28,8 menos. El otro es "
             "más barato de comprar y de usar. | "}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

// The size costed, for the worked example (12000 BTU/h corresponds): only
// another size on offer is a pick, which the link then keeps.
TEST(PressReplyUnit, IsAPickOnlyForAnotherSizeOnOffer)
{
    const std::string worked = "v=1&atico=si&largo=4&ancho=5&puertas=3&paredes=9&soleada=si&"
                               "personas=2&aparatos=si&equipo=";
    for (const auto &[asked, unit, power] : {std::tuple{"", "", "1090"},
                                             {"12000", "", "1090"},
                                             {"15000", "", "1090"},
                                             {"24000", "24000", "2180"}}) {
        const PressReply reply = press(worked + asked, NumberFormat{","});
        EXPECT_EQ(reply.unit, unit) << asked;
        EXPECT_EQ(reply.cost.prefilledPower, power) << asked;
        EXPECT_EQ(reply.link.find("equipo=") != std::string::npos, *unit != '\0') << asked;
    }
}

} // namespace
} // namespace klimora
