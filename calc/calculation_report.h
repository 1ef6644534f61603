#pragma once

#include "calc/cooling_load.h"
#include "calc/load_breakdown.h"
#include "calc/number_text.h"
#include "calc/unit_classes.h"

#include <string>
#include <vector>

namespace klimora {

// Everything a front end shows of one calculation, as text.
struct CalculationReport {
    std::string total;
    std::string equivalents;
    std::vector<BreakdownRow> breakdown;
    UnitChoice units;
};

CalculationReport reportCalculation(const CoolingLoadAnswers &answers,
                                    const CoolingLoadTerms &terms, double total,
                                    const NumberFormat &format);

// The report as lines of plain text, headed as the page heads its parts: the
// equivalents, the breakdown and the advice; whole adds every class.
std::string reportText(const CalculationReport &report, bool whole);

} // namespace klimora
