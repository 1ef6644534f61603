#include "calc/calculation_report.h"
#include "calc/cooling_load.h"
#include "calc/result_json.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <string>

namespace {

// Read by the page before its next call.
std::string reply;

} // namespace

// The version this module was built as, which the page checks before use.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_version()
{
    return KLIMORA_VERSION;
}

// One press of "Calcular". The five answer texts lie one after another in
// `texts`, as UTF-8 of the given byte lengths (a text may hold any character,
// NUL included), in the order length, width, openings, walls, occupants.
// Replies with the result as JSON (calc/result_json.h).
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
        reply = klimora::resultJson(klimora::calculate(answers, format, fields));
    } catch (const std::exception &) {
        reply = R"({"error":{"answer":"","message":"Error inesperado"}})";
    }
    return reply.c_str();
}
