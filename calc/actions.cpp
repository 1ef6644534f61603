// A press, a link opened and a link written, each in one call.
#include "calc/actions.h"

#include "calc/answer_link.h"

#include <algorithm>

namespace klimora {

std::optional<std::string> linkOf(const QuestionnaireAnswers &answers, const NumberFormat &format)
{
    // The page knows the comma and the point only.
    const NumberFormat linked{format.decimalSeparator == "," ? "," : "."};
    const SharedAnswers shared =
        inFormat({linkAnswers(answers), format.decimalSeparator, true}, linked);
    return linkFragment(shared.answers, shared.separator);
}

PressReply pressReply(const QuestionnaireAnswers &answers, const NumberFormat &format)
{
    PressReply reply{calculate(answers.answers, format), "", {}, {}, {}};
    const UnitChoice &units = reply.result.report.units;
    const auto picked =
        std::find_if(units.classes.begin(), units.classes.end(),
                     [&](const UnitClassOffer &offer) { return offer.unit == answers.cost.unit; });
    const bool pickedAnother = !reply.result.failure && picked != units.classes.end() &&
                               (!units.chosen || &*picked != &units.classes[*units.chosen]);
    // A size no longer offered, or the one that corresponds now, is no pick.
    QuestionnaireAnswers linked = answers;
    if (!pickedAnother)
        linked.cost.unit.clear();
    reply.link = linkOf(linked, format).value_or("");
    if (reply.result.failure) {
        reply.hint = separatorHint(answers.answers, *reply.result.failure, format);
        return reply;
    }
    if (pickedAnother)
        reply.unit = picked->unit;
    const UnitClassOffer *costed = pickedAnother  ? &*picked
                                   : units.chosen ? &units.classes[*units.chosen]
                                                  : nullptr;
    if (costed != nullptr)
        reply.cost = runningCost(costed->frigorias, answers.cost, format);
    return reply;
}

PressReply press(std::string_view answerFields, const NumberFormat &format)
{
    return pressReply(answersOf(readAnswerFields(answerFields)), format);
}

std::optional<OpenedLink> openLink(std::string_view link, const NumberFormat &format,
                                   Separator written)
{
    const std::optional<SharedAnswers> shared = readLink(link);
    if (!shared)
        return std::nullopt;
    const NumberFormat used = written == Separator::TheLinks && !shared->separator.empty()
                                  ? NumberFormat{shared->separator}
                                  : format;
    const QuestionnaireAnswers answers = answersOf(inFormat(*shared, used));
    return OpenedLink{answers, used.decimalSeparator, shared->whole, pressReply(answers, used)};
}

} // namespace klimora
