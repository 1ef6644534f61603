#include "calc/answer_link.h"
#include "calc/calculation_report.h"
#include "calc/cooling_load.h"
#include "calc/home_report.h"
#include "calc/percent_escaping.h"
#include "calc/result_json.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Read by the page before its next call.
std::string reply;

// A yes/no question as the page passes it.
enum Choice { Unanswered = 0, Yes = 1, No = 2 };

// The five answer texts lie one after another in `texts`, as UTF-8 of the
// given byte lengths (a text may hold any character, NUL included), in the
// order length, width, openings, walls, occupants.
klimora::CoolingLoadAnswers answersFrom(int topFloor, int sunny, int appliances, const char *texts,
                                        const int (&bytes)[5])
{
    const auto next = [&texts](int length) {
        std::string text(texts, static_cast<std::size_t>(length));
        texts += length;
        return text;
    };
    klimora::CoolingLoadAnswers answers;
    answers.topFloor = topFloor == Yes;
    answers.length = next(bytes[0]);
    answers.width = next(bytes[1]);
    answers.openings = next(bytes[2]);
    answers.walls = next(bytes[3]);
    answers.occupants = next(bytes[4]);
    answers.sunny = sunny == Yes;
    answers.appliances = appliances == Yes;
    return answers;
}

// The separator as the page passes it: its character code.
std::string separatorOf(int decimalSeparator)
{
    return std::string(1, static_cast<char>(decimalSeparator));
}

} // namespace

// The version this module was built as, which the page checks before use.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_version()
{
    return KLIMORA_VERSION;
}

// One press of "Calcular"; each yes/no question a Choice. Replies with the
// result as JSON (calc/result_json.h).
extern "C" EMSCRIPTEN_KEEPALIVE const char *
klimora_calculate(int topFloor, int sunny, int appliances, const char *texts, int lengthBytes,
                  int widthBytes, int openingsBytes, int wallsBytes, int occupantsBytes,
                  int decimalSeparator)
{
    try {
        const auto answers =
            answersFrom(topFloor, sunny, appliances, texts,
                        {lengthBytes, widthBytes, openingsBytes, wallsBytes, occupantsBytes});
        const klimora::NumberFormat format{separatorOf(decimalSeparator)};
        klimora::CoolingLoadFields fields;
        reply = klimora::resultJson(klimora::calculate(answers, format, fields));
    } catch (const std::exception &) {
        reply = R"({"error":{"answer":"","message":"Error inesperado"}})";
    }
    return reply.c_str();
}

// The same answers as a link's fragment, after its "#"; empty where they
// are too long for a link.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_link(int topFloor, int sunny, int appliances,
                                                         const char *texts, int lengthBytes,
                                                         int widthBytes, int openingsBytes,
                                                         int wallsBytes, int occupantsBytes,
                                                         int decimalSeparator)
{
    const auto answers =
        answersFrom(topFloor, sunny, appliances, texts,
                    {lengthBytes, widthBytes, openingsBytes, wallsBytes, occupantsBytes});
    const klimora::AnsweredChoices answered{topFloor != Unanswered, sunny != Unanswered,
                                            appliances != Unanswered};
    reply = klimora::linkFragment(klimora::linkAnswers(answers, answered),
                                  separatorOf(decimalSeparator))
                .value_or("");
    return reply.c_str();
}

// What the fragment of the page's address holds, as JSON (calc/result_json.h).
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_read_link(const char *fragment, int bytes)
{
    reply = klimora::sharedAnswersJson(
        klimora::readLink(std::string_view(fragment, static_cast<std::size_t>(bytes))));
    return reply.c_str();
}

// The rooms of Mi casa, a line each: its name, escaped as in a link, then "#"
// and its answers as a link's fragment. Replies as JSON (calc/result_json.h)
// with the given separator.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_home(const char *rooms, int bytes,
                                                         int decimalSeparator)
{
    std::vector<std::string> names;
    std::vector<klimora::HomeRoom> home;
    std::string_view rest(rooms, static_cast<std::size_t>(bytes));
    while (!rest.empty()) {
        const auto line = rest.substr(0, rest.find('\n'));
        const auto hash = std::min(line.find('#'), line.size());
        names.push_back(klimora::percentDecoded(line.substr(0, hash)).value_or(""));
        home.push_back({{}, line.substr(std::min(hash + 1, line.size()))});
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    }
    for (std::size_t i = 0; i < home.size(); ++i)
        home[i].name = names[i];
    reply = klimora::homeJson(klimora::homeReport(home, {separatorOf(decimalSeparator)}));
    return reply.c_str();
}
