#pragma once

// What calc replies to the page, as JSON that the page reads by name.

#include "calc/actions.h"
#include "calc/home_report.h"

#include <optional>
#include <string>

namespace klimora {

// A press: the link to its answers, and the result,
//     {"link":"v=1&…","total":"3049","shown":"3049 frigorias/hora","equivalents":"Equivale a …",
//      "breakdown":[{"name":"Techo","term":"500","share":"16 %","bar":16}, …],
//      "units":[{"text":"12000 BTU/h · …","corresponds":true}, …],"advice":"…"}
// or the failure, with the other separator where it reads every answer:
//     {"link":"…","error":{"answer":"puertas","message":"Error 13: …","otherSeparator":".",
//      "useOther":"Usar punto para los decimales"}}
std::string pressJson(const PressReply &reply);

// A link opened: null for no Klimora link, else its answers, their separator,
// whether it was read whole, and the press's fields:
//     {"answers":[["atico","si"],["largo","4"], …],"separator":",","whole":true,"link":…}
std::string openedJson(const std::optional<OpenedLink> &opened);

// A home, as Mi casa shows it:
//     {"rooms":[{"name":"Cocina","total":"3049 frigorías/hora","unit":"9000 BTU/h · …",
//                "readable":true}, …],
//      "total":"Total de la casa: …","units":"2 equipos de …"}
std::string homeJson(const HomeReport &home);

} // namespace klimora
