#include "calc/calc_error.h"
#include "calc/cooling_load.h"
#include "calc/power_units.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace {

// The box the page focuses when an answer is wrong.
std::string_view boxOf(klimora::Answer answer)
{
    switch (answer) {
    case klimora::Answer::Length:
        return "largo";
    case klimora::Answer::Width:
        return "ancho";
    case klimora::Answer::Openings:
        return "puertas";
    case klimora::Answer::Walls:
        return "paredes";
    case klimora::Answer::Occupants:
        return "personas";
    case klimora::Answer::None:
        break;
    }
    return {};
}

// Read by the page before its next call.
std::string reply;

} // namespace

// One press of "Calcular". The five answer texts lie one after another in
// `texts`, as UTF-8 of the given byte lengths (a text may hold any character,
// NUL included), in the order length, width, openings, walls, occupants.
// Replies "total<TAB>text<TAB>equivalents", or "error<TAB>box<TAB>message",
// where box names the answer to mend and may be empty.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_calculate(
    int topFloor, int sunny, int appliances, const char *texts, int lengthBytes, int widthBytes,
    int openingsBytes, int wallsBytes, int occupantsBytes, int decimalSeparator)
{
    const auto next = [&texts](int bytes) {
        std::string text(texts, static_cast<std::size_t>(bytes));
        texts += bytes;
        return text;
    };
    try {
        klimora::CoolingLoadAnswers answers;
        answers.topFloor = topFloor != 0;
        answers.length = next(lengthBytes);
        answers.width = next(widthBytes);
        answers.openings = next(openingsBytes);
        answers.walls = next(wallsBytes);
        answers.occupants = next(occupantsBytes);
        answers.sunny = sunny != 0;
        answers.appliances = appliances != 0;
        const klimora::NumberFormat format{std::string(1, static_cast<char>(decimalSeparator))};
        klimora::CoolingLoadFields fields;
        const double total = klimora::computeCoolingLoad(answers, fields, format);
        reply = "total\t" + klimora::numberToText(total, format) + '\t' +
                klimora::equivalentsText(total, format);
    } catch (const klimora::CalcError &error) {
        reply = "error\t" + std::string(boxOf(error.answer())) + '\t' + error.message();
    } catch (const std::exception &) {
        reply = "error\t\tError inesperado";
    }
    return reply.c_str();
}
