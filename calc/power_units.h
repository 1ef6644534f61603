#pragma once

// A cooling load in the other units shops quote.

#include "calc/number_text.h"

#include <string>

namespace klimora {

// A cooling load in the units shops also quote.
struct PowerEquivalents {
    double kilowatts = 0;
    double btuPerHour = 0;
};

PowerEquivalents powerEquivalents(double frigoriasPerHour);

// The other way: what a unit sold by its BTU/h gives, in kilowatts.
double kilowattsOfBtu(double btuPerHour);

// "Equivale a 3,55 kW o 12099 BTU/h"; empty past the double range.
std::string equivalentsText(double frigoriasPerHour, const NumberFormat &format);

} // namespace klimora
