#pragma once

// One call into calc for each thing a person does; its reply holds all that
// a front end then shows.

#include "calc/answer_fields.h"
#include "calc/calculation_report.h"
#include "calc/number_text.h"
#include "calc/separator_hint.h"

#include <optional>
#include <string>
#include <string_view>

namespace klimora {

// What a press of "Calcular" shows.
struct PressReply {
    CalculationResult result;
    // The link's fragment of those answers (calc/answer_link.h); empty where
    // they are too long for a link.
    std::string link;
    // Beside a failure, what the other separator would give.
    SeparatorHint hint;
    // What the unit costs to run: the one that corresponds, or the size the
    // answers pick (its BTU/h in unit, else empty).
    std::string unit;
    RunningCost cost;
};

PressReply pressReply(const QuestionnaireAnswers &answers, const NumberFormat &format);

// The page's press: its answers as a link's fields (calc/answer_link.h), of
// any length.
PressReply press(std::string_view answerFields, const NumberFormat &format);

// How a link's answers are written once opened: as the link writes them
// (the page then takes the link's separator), or with the format's.
enum class Separator { TheLinks, TheFormats };

// A link opened: its answers over the questionnaire's first ones, and what
// a press of them shows.
struct OpenedLink {
    QuestionnaireAnswers answers;
    // The separator the answers are written with.
    std::string separator;
    // False when part of the link could not be read, and was left out.
    bool whole = true;
    PressReply reply;
};

// Nullopt for what is no Klimora link. Where the link names no separator,
// the format's.
std::optional<OpenedLink> openLink(std::string_view link, const NumberFormat &format,
                                   Separator written);

// The window's "Copiar enlace": the fragment of a link to the answers on
// screen, written with the comma or the point as the format is nearest;
// nullopt where they are too long for a link.
std::optional<std::string> linkOf(const QuestionnaireAnswers &answers, const NumberFormat &format);

} // namespace klimora
