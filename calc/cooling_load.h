#pragma once

// The cooling-load formula: the answers in, the fields and the total out.

#include "calc/calc_error.h"
#include "calc/number_text.h"

#include <optional>
#include <string>

namespace klimora {

// The answers to the six questions; texts stay unconverted because the order
// of conversion decides which error a bad answer raises first.
struct CoolingLoadAnswers {
    bool topFloor = false;
    std::string length, width, openings, walls, occupants;
    bool sunny = false;
    bool appliances = false;

    bool operator==(const CoolingLoadAnswers &) const = default;
};

// Intermediate results in the precision the load has always been computed
// with: the floor area in single precision, everything else in double.
struct CoolingLoadFields {
    float m = 0;
    double dato1 = 0, dato2 = 0, dato3 = 0;
};

// What each answer adds to the load, taken from the same sums as the fields,
// and the total they make. The roof, the sun and the appliances are absent
// when their answer is "No". The sun term is what the sun factor adds to the
// building fabric.
struct CoolingLoadTerms {
    std::optional<double> roof;
    double openings = 0, walls = 0;
    std::optional<double> sun;
    double occupants = 0;
    std::optional<double> appliances;
    double total = 0;
};

// The cooling load in frigorías per hour, dato3. Writes the fields step by
// step; an error stops it, and comes back, with the earlier steps' fields
// written and the later ones as they were. The terms are written only by a
// calculation that succeeds.
std::optional<CalcError> computeCoolingLoad(const CoolingLoadAnswers &answers,
                                            CoolingLoadFields &fields, const NumberFormat &format,
                                            CoolingLoadTerms *terms = nullptr);

} // namespace klimora
