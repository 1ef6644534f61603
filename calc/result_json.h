#pragma once

#include "calc/calculation_report.h"

#include <string>

namespace klimora {

// The answer's name in the page's form and in a shared link ("puertas"); empty
// for none.
const char *answerName(Answer answer);

// A calculation's result as a page reads it, field by field:
//     {"total":"3049","equivalents":"Equivale a …",
//      "breakdown":[{"name":"Techo","term":"500","share":"16 %","bar":16}, …],
//      "units":[{"text":"12000 BTU/h · …","corresponds":true}, …],"advice":"…"}
// or {"error":{"answer":"puertas","message":"Error 13: …"}}.
std::string resultJson(const CalculationResult &result);

} // namespace klimora
