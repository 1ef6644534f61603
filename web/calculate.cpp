// The page's calls into calc, compiled to WebAssembly: one for each thing a
// person does, each replying as JSON (calc/result_json.h) that the page reads
// before its next call.
#include "calc/actions.h"
#include "calc/answer_link.h"
#include "calc/home_report.h"
#include "calc/percent_escaping.h"
#include "calc/result_json.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string reply;

// The separator as the page passes it: its character code.
klimora::NumberFormat formatOf(int decimalSeparator)
{
    return {std::string(1, static_cast<char>(decimalSeparator))};
}

// Kept for the page to read before its next call. What calc does not foresee
// (no memory left) traps, and the page says so itself.
template <typename Call> const char *replied(Call call)
{
    reply = call();
    return reply.c_str();
}

} // namespace

// The version this module was built as, which the page checks before use.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_version()
{
    return KLIMORA_VERSION;
}

// A press of "Calcular": the answers on the page as a link's fields, in UTF-8
// of that many bytes (any character, NUL included).
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_press(const char *fields, int bytes,
                                                          int decimalSeparator)
{
    return replied([&] {
        return klimora::pressJson(klimora::press(
            std::string_view(fields, static_cast<std::size_t>(bytes)), formatOf(decimalSeparator)));
    });
}

// A link opened: the page's address's fragment, or a room of Mi casa. Its
// answers keep the link's separator, or take the page's where it names none.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_open(const char *link, int bytes,
                                                         int decimalSeparator)
{
    return replied([&] {
        return klimora::openedJson(
            klimora::openLink(std::string_view(link, static_cast<std::size_t>(bytes)),
                              formatOf(decimalSeparator), klimora::Separator::TheLinks));
    });
}

// Mi casa: first the home's price of the kWh as a link's fields (sep and
// precio), then a line for each room: its name, escaped as in a link, then
// "#" and its answers as a link's fragment; the figures with the given
// separator.
extern "C" EMSCRIPTEN_KEEPALIVE const char *klimora_home(const char *rooms, int bytes,
                                                         int decimalSeparator)
{
    return replied([&] {
        std::vector<std::string> names;
        std::vector<std::string_view> answers;
        std::string_view rest(rooms, static_cast<std::size_t>(bytes));
        const klimora::NumberFormat format = formatOf(decimalSeparator);
        const std::string price =
            klimora::answersOf(
                klimora::inFormat(klimora::readAnswerFields(rest.substr(0, rest.find('\n'))),
                                  format))
                .cost.price;
        const auto priceEnd = rest.find('\n');
        rest.remove_prefix(priceEnd == std::string_view::npos ? rest.size() : priceEnd + 1);
        while (!rest.empty()) {
            const auto line = rest.substr(0, rest.find('\n'));
            const auto hash = std::min(line.find('#'), line.size());
            names.push_back(klimora::percentDecoded(line.substr(0, hash)).value_or(""));
            answers.push_back(line.substr(std::min(hash + 1, line.size())));
            rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        }
        std::vector<klimora::HomeRoom> home;
        for (std::size_t i = 0; i < names.size(); ++i)
            home.push_back({names[i], answers[i]});
        return klimora::homeJson(klimora::homeReport(home, price, format));
    });
}
