#pragma once

#include "calc/answer_link.h"
#include "calc/calculation_report.h"
#include "calc/home_report.h"

#include <string>

namespace klimora {

// A calculation's result as a page reads it, field by field:
//     {"total":"3049","equivalents":"Equivale a …",
//      "breakdown":[{"name":"Techo","term":"500","share":"16 %","bar":16}, …],
//      "units":[{"text":"12000 BTU/h · …","corresponds":true}, …],"advice":"…"}
// or {"error":{"answer":"puertas","message":"Error 13: …"}}.
std::string resultJson(const CalculationResult &result);

// What a link holds, as the page reads it: null for no Klimora link, else
//     {"answers":[["atico","si"],["largo","4"], …],"separator":",","whole":true}
std::string sharedAnswersJson(const std::optional<SharedAnswers> &shared);

// A home, as Mi casa shows it:
//     {"rooms":[{"name":"Cocina","total":"3049 frigorías/hora","unit":"9000 BTU/h · …",
//                "readable":true}, …],
//      "total":"Total de la casa: …","units":"2 equipos de …"}
std::string homeJson(const HomeReport &home);

} // namespace klimora
