// The two errors' numbers and Spanish descriptions.
#include "calc/calc_error.h"

#include <charconv>
#include <iterator>

namespace klimora {

namespace {

std::string decimal(int value)
{
    char buffer[12];
    const auto written = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return {buffer, written.ptr};
}

// The number of the question each answer belongs to; 0 for none.
int questionOf(Answer answer)
{
    switch (answer) {
    case Answer::Length:
    case Answer::Width:
        return 1;
    case Answer::Openings:
        return 2;
    case Answer::Walls:
        return 3;
    case Answer::Occupants:
        return 5;
    case Answer::None:
        break;
    }
    return 0;
}

} // namespace

CalcError::CalcError(ErrorNumber number, Answer answer) noexcept
    : m_number(number), m_answer(answer)
{
}

const char *CalcError::description() const noexcept
{
    switch (m_number) {
    case ErrorNumber::Overflow:
        return "Desbordamiento";
    case ErrorNumber::Conversion:
        return "No coinciden los tipos";
    }
    return "Error";
}

std::string CalcError::message() const
{
    std::string text = "Error " + decimal(static_cast<int>(m_number)) + ": " + description();
    if (const int question = questionOf(m_answer))
        text += "\nRevise la respuesta a la pregunta [" + decimal(question) + "].";
    return text;
}

} // namespace klimora
