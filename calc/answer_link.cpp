#include "calc/answer_link.h"

#include "calc/percent_escaping.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace klimora {

namespace {

constexpr std::string_view version = "v=1";
// Far longer than the answers a person types, and far shorter than a hostile link.
constexpr std::size_t longestLink = 2000;
// Every name a link may hold: the separator's, then the answers'.
constexpr std::array<std::string_view, 9> linkNames = {
    "sep", "atico", "largo", "ancho", "puertas", "paredes", "soleada", "personas", "aparatos"};

bool isChoice(std::string_view name)
{
    return name == "atico" || name == "soleada" || name == "aparatos";
}

} // namespace

const char *answerName(Answer answer)
{
    switch (answer) {
    case Answer::Length:
        return "largo";
    case Answer::Width:
        return "ancho";
    case Answer::Openings:
        return "puertas";
    case Answer::Walls:
        return "paredes";
    case Answer::Occupants:
        return "personas";
    case Answer::None:
        break;
    }
    return "";
}

Answer answerNamed(std::string_view name)
{
    constexpr std::array<Answer, 5> boxes = {Answer::Length, Answer::Width, Answer::Openings,
                                             Answer::Walls, Answer::Occupants};
    const auto named = std::find_if(boxes.begin(), boxes.end(),
                                    [name](Answer answer) { return name == answerName(answer); });
    return named == boxes.end() ? Answer::None : *named;
}

std::vector<LinkAnswer> linkAnswers(const CoolingLoadAnswers &answers, AnsweredChoices answered)
{
    std::vector<LinkAnswer> listed;
    const auto choice = [&](bool asked, const char *name, bool yes) {
        if (asked)
            listed.push_back({name, yes ? "si" : "no"});
    };
    choice(answered.topFloor, "atico", answers.topFloor);
    listed.push_back({"largo", answers.length});
    listed.push_back({"ancho", answers.width});
    listed.push_back({"puertas", answers.openings});
    listed.push_back({"paredes", answers.walls});
    choice(answered.sunny, "soleada", answers.sunny);
    listed.push_back({"personas", answers.occupants});
    choice(answered.appliances, "aparatos", answers.appliances);
    return listed;
}

std::optional<std::string> linkFragment(const std::vector<LinkAnswer> &answers,
                                        std::string_view separator)
{
    std::string fragment(version);
    fragment += separator == "," ? "&sep=coma" : "&sep=punto";
    for (const LinkAnswer &answer : answers) {
        if (!isWellFormedUtf8(answer.value))
            return std::nullopt;
        fragment += '&' + answer.name + '=' + percentEscaped(answer.value);
    }
    if (fragment.size() > longestLink)
        return std::nullopt;
    return fragment;
}

std::optional<SharedAnswers> readLink(std::string_view link)
{
    const std::size_t hash = link.find('#');
    const std::string_view fragment = hash == std::string_view::npos ? link : link.substr(hash + 1);
    if (!fragment.starts_with("v=") && fragment.find("&v=") == std::string_view::npos)
        return std::nullopt;
    SharedAnswers shared;
    bool versioned = false;
    unsigned seen = 0;
    for (std::string_view rest = fragment;;) {
        const std::size_t end = rest.find('&');
        const std::string_view field = rest.substr(0, end);
        const std::size_t at = field.find('=');
        const std::string_view name = field.substr(0, at);
        const auto index = static_cast<std::size_t>(
            std::find(linkNames.begin(), linkNames.end(), name) - linkNames.begin());
        const bool known = index < linkNames.size() && (seen & (1U << index)) == 0;
        const std::optional<std::string> value = known && at != std::string_view::npos
                                                     ? percentDecoded(field.substr(at + 1))
                                                     : std::nullopt;
        const bool readable = value && (!isChoice(name) || value == "si" || value == "no") &&
                              (name != "sep" || value == "coma" || value == "punto");
        if (field == version)
            versioned = true;
        else if (!readable)
            shared.whole = false;
        else if (name == "sep")
            shared.separator = value == "coma" ? "," : ".";
        else
            shared.answers.push_back({std::string(name), *value});
        if (index < linkNames.size())
            seen |= 1U << index;
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    if (fragment.size() > longestLink || !versioned)
        return SharedAnswers{{}, {}, false};
    return shared;
}

CoolingLoadAnswers answersOf(const SharedAnswers &shared)
{
    CoolingLoadAnswers answers;
    std::string *const texts[] = {nullptr,           &answers.length, &answers.width,
                                  &answers.openings, &answers.walls,  &answers.occupants};
    for (const auto &[name, value] : shared.answers) {
        const bool yes = value == "si";
        if (name == "atico")
            answers.topFloor = yes;
        else if (name == "soleada")
            answers.sunny = yes;
        else if (name == "aparatos")
            answers.appliances = yes;
        else if (std::string *text = texts[static_cast<int>(answerNamed(name))])
            *text = value;
    }
    return answers;
}

SharedAnswers inFormat(SharedAnswers shared, const NumberFormat &format)
{
    const std::string theirs =
        shared.separator.empty() ? format.decimalSeparator : shared.separator;
    const std::string &ours = format.decimalSeparator;
    if (theirs == ours)
        return shared;
    for (LinkAnswer &answer : shared.answers) {
        std::string swapped;
        for (std::size_t i = 0; i < answer.value.size();) {
            const std::string_view rest = std::string_view(answer.value).substr(i);
            if (rest.starts_with(theirs)) {
                swapped += ours;
                i += theirs.size();
            } else if (rest.starts_with(ours)) {
                swapped += theirs;
                i += ours.size();
            } else {
                swapped += answer.value[i++];
            }
        }
        answer.value = std::move(swapped);
    }
    shared.separator = ours;
    return shared;
}

} // namespace klimora
