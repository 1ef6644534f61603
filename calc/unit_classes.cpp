#include "calc/unit_classes.h"

#include "calc/power_units.h"

#include <array>
#include <cmath>
#include <utility>

namespace klimora {

namespace {

// Sold by BTU/h; shops in Argentina label the same units in frigorías.
struct UnitClass {
    int btuPerHour;
    int frigoriasLabel;
};

constexpr std::array<UnitClass, 6> unitClasses{{
    {9000, 2250}, {12000, 3000}, {18000, 4500}, {24000, 6000}, {30000, 7500}, {36000, 9000}}};

// Installers size a unit at 95 % to 115 % of the load, or the next size up.
constexpr double enoughShare = 0.95;

// "12000 BTU/h · 3000 frigorías"
std::string name(const UnitClass &unit, const NumberFormat &format)
{
    std::string text = numberToText(unit.btuPerHour, format);
    text += " BTU/h · ";
    text += numberToText(unit.frigoriasLabel, format);
    text += " frigorías";
    return text;
}

} // namespace

UnitChoice unitChoice(double frigoriasPerHour, const NumberFormat &format)
{
    UnitChoice choice;
    if (!(frigoriasPerHour > 0) || !std::isfinite(frigoriasPerHour))
        return choice;
    const UnitClass *chosen = nullptr;
    for (const UnitClass &unit : unitClasses) {
        const double gives = frigoriasPerHourOfBtu(unit.btuPerHour);
        const bool corresponds = chosen == nullptr && gives >= enoughShare * frigoriasPerHour;
        if (corresponds)
            chosen = &unit;
        // Rounded down, so that only a class that is enough reads 95 % or more.
        const double covers = std::floor(gives / frigoriasPerHour * 100);
        std::string text = name(unit, format);
        text += " · ";
        text += numberToFixedText(kilowattsOfBtu(unit.btuPerHour), 1, format);
        text += " kW: cubre el ";
        text += numberToFixedText(covers, 0, format);
        text += corresponds ? "\u00a0%. Es el que corresponde" : "\u00a0%";
        choice.classes.push_back({std::move(text), corresponds});
    }
    if (chosen == nullptr) {
        choice.advice = "Ningún equipo de habitación habitual es suficiente. Considere dos "
                        "equipos o consulte a un instalador.";
        return choice;
    }
    choice.advice = "Le corresponde el de ";
    choice.advice += name(*chosen, format);
    choice.advice += ", el más pequeño que cubre al menos el 95 %. Uno mayor enfría a golpes y "
                     "gasta más; uno que no llega al 95 % se queda corto en los días más "
                     "calurosos.";
    return choice;
}

} // namespace klimora
