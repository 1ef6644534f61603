#pragma once

// Where the frigorías come from, term by term.

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
    // The term's share of the total ("16 %"), the rows' shares adding up to
    // 100 %; empty when a term or the total is not positive.
    std::string share;
    // The bar's length, 0 to 100, in percent of the whole: the share.
    int barPercent = 0;
};

// Each term of the load, top to bottom in the order the formula adds them;
// the roof, the sun and the appliances only when their answer is "Si".
std::vector<BreakdownRow> breakdownRows(const CoolingLoadTerms &terms, const NumberFormat &format);

} // namespace klimora
