// Frigorías per hour in kilowatts and BTU per hour.
#include "calc/power_units.h"

#include <cmath>

namespace klimora {

namespace {

constexpr double wattsPerFrigoriaPerHour = 1.163;
constexpr double btuPerHourPerWatt = 3.412142;

} // namespace

PowerEquivalents powerEquivalents(double frigoriasPerHour)
{
    const double watts = frigoriasPerHour * wattsPerFrigoriaPerHour;
    return {watts / 1000.0, watts * btuPerHourPerWatt};
}

double kilowattsOfBtu(double btuPerHour)
{
    return btuPerHour / btuPerHourPerWatt / 1000.0;
}

std::string equivalentsText(double frigoriasPerHour, const NumberFormat &format)
{
    const auto [kilowatts, btuPerHour] = powerEquivalents(frigoriasPerHour);
    if (!std::isfinite(kilowatts) || !std::isfinite(btuPerHour))
        return {};
    return "Equivale a " + numberToFixedText(kilowatts, 2, format) + " kW o " +
           numberToFixedText(btuPerHour, 0, format) + " BTU/h";
}

} // namespace klimora
