#pragma once

#include "calc/calc_error.h"
#include "calc/cooling_load.h"
#include "calc/number_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klimora {

// One answer as a link carries it, by its name in the page's form: "atico",
// "largo", "ancho", "puertas", "paredes", "soleada", "personas" or "aparatos";
// a yes/no question's value is "si" or "no".
struct LinkAnswer {
    std::string name;
    std::string value;

    bool operator==(const LinkAnswer &) const = default;
};

// The answers a link holds, and the decimal separator they are written with.
struct SharedAnswers {
    std::vector<LinkAnswer> answers;
    // "," or "."; empty where the link names none.
    std::string separator;
    // False when part of the link could not be read: that part is left out.
    bool whole = true;
};

// An answer box's name in the page's form and in a link ("puertas"); empty
// for none, and the other way.
const char *answerName(Answer answer);
Answer answerNamed(std::string_view name);

// Which yes/no questions have an answer at all: the calculation reads no
// answer as "No", a link tells them apart.
struct AnsweredChoices {
    bool topFloor = false, sunny = false, appliances = false;
};

// The answers as a link lists them, in the questionnaire's order.
std::vector<LinkAnswer> linkAnswers(const CoolingLoadAnswers &answers, AnsweredChoices answered);

// A calculation as the fragment of a link, after "#", which no browser sends
// to a server. Readable, and versioned so that later versions still read it:
//     v=1&sep=coma&atico=si&largo=4&ancho=5&puertas=3&paredes=9&soleada=si&personas=2&aparatos=si
// The separator is "," or ".". Nullopt where readLink could not read it back
// whole: longer than a link may be, or an answer that is not UTF-8.
std::optional<std::string> linkFragment(const std::vector<LinkAnswer> &answers,
                                        std::string_view separator);

// What a link or its fragment holds; nullopt for one that is no Klimora link
// (no "v=" after its "#").
std::optional<SharedAnswers> readLink(std::string_view link);

// The answers as the calculation takes them: a question the link leaves out
// is unanswered, an empty box or "No".
CoolingLoadAnswers answersOf(const SharedAnswers &shared);

// The answers written with the given format's separator instead of theirs,
// so that they read as the same numbers.
SharedAnswers inFormat(SharedAnswers shared, const NumberFormat &format);

} // namespace klimora
