#include "calc/calc_error.h"

namespace klimora {

CalcError::CalcError(ErrorNumber number, Answer answer) noexcept
    : m_number(number), m_answer(answer)
{
}

const char *CalcError::what() const noexcept
{
    switch (m_number) {
    case ErrorNumber::Overflow:
        return "Desbordamiento";
    case ErrorNumber::Conversion:
        return "No coinciden los tipos";
    }
    return "Error";
}

} // namespace klimora
