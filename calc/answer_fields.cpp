// The table of the questionnaire's answers and their names.
#include "calc/answer_fields.h"

#include <algorithm>

namespace klimora {

const std::array<AnswerField, 16> answerFields{{
    {"atico", Answer::None, nullptr, &CoolingLoadAnswers::topFloor, &AnsweredChoices::topFloor},
    {"largo", Answer::Length, &CoolingLoadAnswers::length, nullptr, nullptr},
    {"ancho", Answer::Width, &CoolingLoadAnswers::width, nullptr, nullptr},
    {"puertas", Answer::Openings, &CoolingLoadAnswers::openings, nullptr, nullptr},
    {"paredes", Answer::Walls, &CoolingLoadAnswers::walls, nullptr, nullptr},
    {"soleada", Answer::None, nullptr, &CoolingLoadAnswers::sunny, &AnsweredChoices::sunny},
    {"personas", Answer::Occupants, &CoolingLoadAnswers::occupants, nullptr, nullptr},
    {"aparatos", Answer::None, nullptr, &CoolingLoadAnswers::appliances,
     &AnsweredChoices::appliances},
    {"equipo", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::unit},
    {"potencia", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::power},
    {"horas", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::hours},
    {"dias", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::days},
    {"precio", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::price},
    {"potencia-otro", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::otherPower},
    {"compra", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::unitPrice},
    {"compra-otro", Answer::None, nullptr, nullptr, nullptr, &CostAnswers::otherPrice},
}};

const AnswerField *answerFieldNamed(std::string_view name)
{
    const auto *field = std::find_if(answerFields.begin(), answerFields.end(),
                                     [name](const AnswerField &each) { return each.name == name; });
    return field == answerFields.end() ? nullptr : field;
}

std::string_view answerName(Answer box)
{
    const auto *field =
        std::find_if(answerFields.begin(), answerFields.end(), [box](const AnswerField &each) {
            return box != Answer::None && each.box == box;
        });
    return field == answerFields.end() ? std::string_view() : field->name;
}

QuestionnaireAnswers firstAnswers()
{
    QuestionnaireAnswers first;
    for (const AnswerField &field : answerFields) {
        if (field.text != nullptr)
            (first.answers.*field.text).assign(1, '0');
    }
    return first;
}

} // namespace klimora
