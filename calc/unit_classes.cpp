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

std::string whole(int number, const NumberFormat &format)
{
    return numberToText(number, format);
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
        std::string text = whole(unit.btuPerHour, format) + " BTU/h · " +
                           whole(unit.frigoriasLabel, format) + " frigorías · " +
                           numberToFixedText(kilowattsOfBtu(unit.btuPerHour), 1, format) +
                           " kW: cubre el " + numberToFixedText(covers, 0, format) + "\u00a0%";
        if (corresponds)
            text += ". Es el que corresponde";
        choice.classes.push_back({std::move(text), corresponds});
    }
    choice.advice =
        chosen != nullptr
            ? "Le corresponde el de " + whole(chosen->btuPerHour, format) + " BTU/h (" +
                  whole(chosen->frigoriasLabel, format) +
                  " frigorías), el más pequeño que cubre al menos el 95 %. Uno mayor enfría "
                  "a golpes y gasta más; uno que no llega al 95 % se queda corto en los días "
                  "más calurosos."
            : "Ningún equipo de habitación habitual es suficiente. Considere dos equipos o "
              "consulte a un instalador.";
    return choice;
}

} // namespace klimora
