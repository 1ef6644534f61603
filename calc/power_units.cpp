#include "calc/power_units.h"

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

} // namespace klimora
