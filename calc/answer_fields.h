#pragma once

// The questionnaire's answers by name, as a link, the page's form and Mi casa
// name them, in the questionnaire's order: the one place that says which
// answers there are.

#include "calc/calc_error.h"
#include "calc/cooling_load.h"
#include "calc/running_cost.h"

#include <array>
#include <string>
#include <string_view>

namespace klimora {

// Which yes/no questions have an answer at all: the calculation reads no
// answer as "No", the questionnaire and a link tell them apart.
struct AnsweredChoices {
    bool topFloor = false, sunny = false, appliances = false;

    bool operator==(const AnsweredChoices &) const = default;
};

// The answers as the questionnaire holds them, and what the unit costs to run.
struct QuestionnaireAnswers {
    CoolingLoadAnswers answers;
    AnsweredChoices answered;
    CostAnswers cost;

    bool operator==(const QuestionnaireAnswers &) const = default;
};

// One answer: a box's text, a yes/no question's choice and whether it has
// one, or a box of "Lo que gasta".
struct AnswerField {
    std::string_view name;
    Answer box;
    std::string CoolingLoadAnswers::*text;
    bool CoolingLoadAnswers::*choice;
    bool AnsweredChoices::*answered;
    std::string CostAnswers::*cost = nullptr;
};

inline constexpr std::string_view yes = "si";
inline constexpr std::string_view no = "no";

extern const std::array<AnswerField, 16> answerFields;

// The field of that name; null for none.
const AnswerField *answerFieldNamed(std::string_view name);

// An answer box's name ("puertas"); empty for none.
std::string_view answerName(Answer box);

// The answers as the questionnaire opens: every box "0", no question answered.
QuestionnaireAnswers firstAnswers();

} // namespace klimora
