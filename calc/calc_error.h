#pragma once

// The errors a calculation stops at, by the numbers users know them by.

#include <string>

namespace klimora {

// What a front end says of a failure no answer explains.
inline constexpr const char *unexpectedError = "Error inesperado";

// The numbers users and support know these errors by.
enum class ErrorNumber { Overflow = 6, Conversion = 13 };

// Which answer of the questionnaire an error points at.
enum class Answer { None, Length, Width, Openings, Walls, Occupants };

// Where a calculation stopped, and why: a value, not thrown, so that the
// page's WebAssembly carries no machinery for exceptions.
class CalcError {
public:
    explicit CalcError(ErrorNumber number, Answer answer = Answer::None) noexcept;

    [[nodiscard]] ErrorNumber number() const noexcept { return m_number; }
    [[nodiscard]] Answer answer() const noexcept { return m_answer; }
    // The standard Spanish description, UTF-8.
    [[nodiscard]] const char *description() const noexcept;
    // What the user reads: "Error 13: No coinciden los tipos", and the
    // question to look at, if any, on a line of its own. UTF-8.
    [[nodiscard]] std::string message() const;

private:
    ErrorNumber m_number;
    Answer m_answer;
};

} // namespace klimora
