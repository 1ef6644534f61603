#pragma once

// A calculation reported whole, as text for any front end.

#include "calc/calc_error.h"
#include "calc/cooling_load.h"
#include "calc/load_breakdown.h"
#include "calc/number_text.h"
#include "calc/running_cost.h"
#include "calc/unit_classes.h"

#include <optional>
#include <string>
#include <vector>

namespace klimora {

// Everything a front end shows of one calculation, as text.
struct CalculationReport {
    std::string total;
    // The total and its unit: "3049 frigorias/hora".
    std::string shown;
    std::string equivalents;
    std::vector<BreakdownRow> breakdown;
    UnitChoice units;
    double frigoriasPerHour = 0;
    // What the unit that corresponds costs to run, at the first figures.
    RunningCost cost;
};

// Why a calculation gave no total, and the answer to mend.
struct CalculationFailure {
    ErrorNumber number = ErrorNumber::Conversion;
    Answer answer = Answer::None;
    // "Error 13: No coinciden los tipos", and the question to look at.
    std::string message;
};

// One press of "Calcular": the whole report, or the failure alone, and the
// formula's fields as far as it got.
struct CalculationResult {
    std::optional<CalculationFailure> failure;
    CalculationReport report;
    CoolingLoadFields fields;
};

CalculationResult calculate(const CoolingLoadAnswers &answers, const NumberFormat &format);

// The report as lines of plain text, headed as the page heads its parts: the
// equivalents, the breakdown and the advice; whole adds every class.
std::string reportText(const CalculationReport &report, bool whole);

} // namespace klimora
