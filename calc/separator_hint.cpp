// Whether the other decimal separator would read the answers.
#include "calc/separator_hint.h"

#include "calc/answer_fields.h"

namespace klimora {

namespace {

const char *separatorName(const std::string &separator)
{
    return separator == "," ? "coma" : "punto";
}

} // namespace

SeparatorHint separatorHint(const CoolingLoadAnswers &answers, const CalculationFailure &failure,
                            const NumberFormat &format)
{
    if (failure.answer == Answer::None)
        return {};
    const std::string chosen = separatorName(format.decimalSeparator);
    const NumberFormat other{format.decimalSeparator == "," ? "." : ","};
    if (!calculate(answers, other).failure) {
        const std::string name = separatorName(other.decimalSeparator);
        return {"Este número lleva " + name + ", y aquí los decimales van con " + chosen + ".",
                other.decimalSeparator, "Usar " + name + " para los decimales"};
    }
    bool comma = false;
    bool point = false;
    for (const AnswerField &field : answerFields) {
        if (field.text == nullptr)
            continue;
        comma = comma || (answers.*field.text).find(',') != std::string::npos;
        point = point || (answers.*field.text).find('.') != std::string::npos;
    }
    if (comma && point)
        return {"Hay respuestas con coma y con punto. Escriba todos los decimales con " + chosen +
                    ".",
                "", ""};
    return {};
}

} // namespace klimora
