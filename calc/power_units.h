#pragma once

namespace klimora {

// A cooling load in the units shops also quote.
struct PowerEquivalents {
    double kilowatts = 0;
    double btuPerHour = 0;
};

PowerEquivalents powerEquivalents(double frigoriasPerHour);

} // namespace klimora
