#pragma once

// A calculation's answers as a link, which the page opens and the window
// writes and reads: the format, written and read.

#include "calc/answer_fields.h"
#include "calc/number_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klimora {

// One answer as a link carries it, by its name (calc/answer_fields.h); a
// yes/no question's value is "si" or "no".
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

// The answers as a link lists them, in the questionnaire's order: every box,
// and each question that has an answer.
std::vector<LinkAnswer> linkAnswers(const QuestionnaireAnswers &answers);

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

// Answers as a link's fields ("sep=coma&atico=si&largo=4"), of any length and
// with no version: how a front end hands calc the answers on screen.
SharedAnswers readAnswerFields(std::string_view fields);

// The answers over the questionnaire's first ones: a box left out stays "0",
// a question left out unanswered.
QuestionnaireAnswers answersOf(const SharedAnswers &shared);

// The answers written with the given format's separator instead of theirs,
// so that they read as the same numbers.
SharedAnswers inFormat(SharedAnswers shared, const NumberFormat &format);

} // namespace klimora
