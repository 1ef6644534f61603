#include "calc/calc_error.h"
#include "calc/calculation_report.h"
#include "calc/cooling_load.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

// The answer to mend, as its place among the five texts (0 for the length),
// or empty. Answer lists the texts in the order they are passed.
std::string placeOf(klimora::Answer answer)
{
    if (answer == klimora::Answer::None) {
        return {};
    }
    return {static_cast<char>('0' + static_cast<int>(answer) - static_cast<int>(klimora::Answer::Length))};
}

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
// Replies "total<TAB>text<TAB>equivalents", then a line for each row of the
// breakdown ("row<TAB>name<TAB>term<TAB>share<TAB>bar"), each unit class
// ("class<TAB>text<TAB>1 for the one that corresponds, else 0") and
// "advice<TAB>text". Or "error<TAB>place<TAB>message", where place is that of
// the text to mend, and may be empty.
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
        klimora::CoolingLoadTerms terms;
        const double total = klimora::computeCoolingLoad(answers, fields, format, &terms);
        const auto report = klimora::reportCalculation(answers, terms, total, format);
        reply = "total\t" + report.total + '\t' + report.equivalents;
        const auto line = [](std::initializer_list<std::string_view> fields) {
            for (const auto field : fields) {
                reply += field;
                reply += '\t';
            }
            reply.back() = '\n';
        };
        reply += '\n';
        for (const auto &row : report.breakdown)
            line({"row", row.name, row.term, row.share, klimora::numberToText(row.barPercent, format)});
        for (const auto &offer : report.units.classes)
            line({"class", offer.text, offer.corresponds ? "1" : "0"});
        line({"advice", report.units.advice});
    } catch (const klimora::CalcError &error) {
        reply = "error\t" + placeOf(error.answer()) + '\t' + error.message();
    } catch (const std::exception &) {
        reply = "error\t\tError inesperado";
    }
    return reply.c_str();
}
