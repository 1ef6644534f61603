#pragma once

// The hint beside an answer that does not read as a number: a keypad that
// has only the other decimal key must not leave its user stuck.

#include "calc/calculation_report.h"
#include "calc/cooling_load.h"
#include "calc/number_text.h"

#include <string>

namespace klimora {

struct SeparatorHint {
    // "Este número lleva punto, y aquí los decimales van con coma.", or
    // "Hay respuestas con coma y con punto. …"; empty where neither holds:
    // a typo is a typo.
    std::string sentence;
    // The separator that reads every answer, and the button that switches to
    // it; both empty where it does not.
    std::string otherSeparator;
    std::string useOther;
};

// For answers whose calculation failed with the format's separator, the
// comma or the point.
SeparatorHint separatorHint(const CoolingLoadAnswers &answers, const CalculationFailure &failure,
                            const NumberFormat &format);

} // namespace klimora
