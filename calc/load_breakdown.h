#pragma once

#include "calc/cooling_load.h"
#include "calc/number_text.h"

#include <string>
#include <vector>

namespace klimora {

// One line of "De dónde salen las frigorías".
struct BreakdownRow {
    std::string name;
    // A whole number of frigorías per hour; the rows' terms add up to the
    // total rounded to a whole number.
    std::string term;
    // The term's share of a positive total ("16 %"), else empty.
    std::string share;
    // The bar's length, 0 to 100, in percent of the whole.
    int barPercent = 0;
};

// Each term of the load, top to bottom in the order the formula adds them;
// the roof, the sun and the appliances only when their answer is "Si".
std::vector<BreakdownRow> breakdownRows(const CoolingLoadAnswers &answers,
                                        const CoolingLoadTerms &terms, double total,
                                        const NumberFormat &format);

} // namespace klimora
