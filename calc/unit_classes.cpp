// The unit sizes sold, and the one that corresponds to a load.
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

constexpr std::array<UnitClass, unitClassCount> unitClasses{
    {{9000, 2250}, {12000, 3000}, {18000, 4500}, {24000, 6000}, {30000, 7500}, {36000, 9000}}};

// Installers size a unit at 95 % to 115 % of the load, or the next size up.
constexpr int enoughPercent = 95;
// Past this a share says only that it is more.
constexpr double largestShownPercent = 999;

// "12000 BTU/h · 3000 frigorías"
std::string name(const UnitClass &unit, const NumberFormat &format)
{
    std::string text = numberToText(unit.btuPerHour, format);
    text += " BTU/h · ";
    text += numberToText(unit.frigoriasLabel, format);
    text += " frigorías";
    return text;
}

// "cubre el 94 %": of the frigorías the item names, rounded down, so that no
// item claims a share it does not give.
std::string coverText(double percent, const NumberFormat &format)
{
    if (percent > largestShownPercent)
        return "cubre más del " + numberToText(largestShownPercent, format) + "\u00a0%";
    return "cubre el " + numberToText(percent, format) + "\u00a0%";
}

} // namespace

UnitChoice unitChoice(double frigoriasPerHour, const NumberFormat &format)
{
    UnitChoice choice;
    if (!(frigoriasPerHour > 0) || !std::isfinite(frigoriasPerHour))
        return choice;
    for (const UnitClass &unit : unitClasses) {
        const double percent = std::floor(unit.frigoriasLabel / frigoriasPerHour * 100);
        const bool corresponds = !choice.chosen && percent >= enoughPercent;
        if (corresponds)
            choice.chosen = choice.classes.size();
        std::string text = name(unit, format);
        text += " · ";
        text += numberToFixedText(kilowattsOfBtu(unit.btuPerHour), 1, format);
        text += " kW: ";
        text += coverText(percent, format);
        if (corresponds)
            text += ". Es el que corresponde";
        choice.classes.push_back({std::move(text), name(unit, format),
                                  numberToText(unit.btuPerHour, format), unit.frigoriasLabel,
                                  corresponds});
    }
    const std::string enough = numberToText(enoughPercent, format) + "\u00a0%";
    if (!choice.chosen) {
        choice.advice = "Ningún equipo de habitación habitual es suficiente. Considere dos "
                        "equipos o consulte a un instalador.";
        return choice;
    }
    choice.advice = "Le corresponde el de " + unitClassName(*choice.chosen, format) +
                    ", el más pequeño que cubre al menos el " + enough +
                    ". Uno mayor enfría a golpes y gasta más; uno que no llega al " + enough +
                    " se queda corto en los días más calurosos.";
    return choice;
}

std::string unitClassName(std::size_t index, const NumberFormat &format)
{
    return name(unitClasses.at(index), format);
}

int unitClassFrigorias(std::size_t index)
{
    return unitClasses.at(index).frigoriasLabel;
}

} // namespace klimora
