#pragma once

#include "calc/number_text.h"

#include <string>

namespace klimora {

// The answers to the six questions; texts stay unconverted because the order
// of conversion decides which error a bad answer raises first.
struct CoolingLoadAnswers {
    bool topFloor = false;
    std::string length, width, openings, walls, occupants;
    bool sunny = false;
    bool appliances = false;
};

// Intermediate results in the precision the load has always been computed
// with: the floor area in single precision, everything else in double.
struct CoolingLoadFields {
    float m = 0;
    double dato1 = 0, dato2 = 0, dato3 = 0;
};

// What each answer adds to the load, taken from the same sums as the fields;
// a term whose answer is "No" stays 0. The sun term is what the sun factor
// adds to the building fabric.
struct CoolingLoadTerms {
    double roof = 0, openings = 0, walls = 0, sun = 0, occupants = 0, appliances = 0;
};

// The cooling load in frigorías per hour. Writes the fields step by step, so
// a CalcError leaves the earlier steps' fields written and the later ones
// as they were. The terms are written only by a calculation that succeeds.
double computeCoolingLoad(const CoolingLoadAnswers &answers, CoolingLoadFields &fields,
                          const NumberFormat &format, CoolingLoadTerms *terms = nullptr);

} // namespace klimora
