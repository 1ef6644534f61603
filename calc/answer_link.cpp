// The link format, written and read, field by field.
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
constexpr std::string_view separatorName = "sep";

// Each field a link may hold, once: the separator, then the answers. True
// when the whole of it could be read, the version among its fields.
bool readFields(std::string_view fields, SharedAnswers &shared)
{
    bool versioned = false;
    std::array<bool, answerFields.size() + 1> seen{};
    for (std::string_view rest = fields;;) {
        const std::size_t end = rest.find('&');
        const std::string_view field = rest.substr(0, end);
        const std::size_t at = field.find('=');
        const std::string_view name = field.substr(0, at);
        const AnswerField *answer = answerFieldNamed(name);
        const auto index =
            answer == nullptr ? 0 : static_cast<std::size_t>(answer - answerFields.data()) + 1;
        const bool known = (answer != nullptr || name == separatorName) && !seen[index];
        const std::optional<std::string> value = known && at != std::string_view::npos
                                                     ? percentDecoded(field.substr(at + 1))
                                                     : std::nullopt;
        const bool readable =
            value &&
            (answer == nullptr || answer->choice == nullptr || value == yes || value == no) &&
            (answer != nullptr || value == "coma" || value == "punto");
        if (field == version)
            versioned = true;
        else if (!readable)
            shared.whole = false;
        else if (answer == nullptr)
            shared.separator.assign(1, value == "coma" ? ',' : '.');
        else
            shared.answers.push_back({std::string(name), *value});
        seen[index] = seen[index] || known;
        if (end == std::string_view::npos)
            return versioned;
        rest.remove_prefix(end + 1);
    }
}

} // namespace

std::vector<LinkAnswer> linkAnswers(const QuestionnaireAnswers &answers)
{
    std::vector<LinkAnswer> listed;
    for (const AnswerField &field : answerFields) {
        if (field.text != nullptr)
            listed.push_back({std::string(field.name), answers.answers.*field.text});
        else if (field.cost != nullptr && !(answers.cost.*field.cost).empty())
            listed.push_back({std::string(field.name), answers.cost.*field.cost});
        else if (field.choice != nullptr && answers.answered.*field.answered)
            listed.push_back(
                {std::string(field.name), std::string(answers.answers.*field.choice ? yes : no)});
    }
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
    if (!readFields(fragment, shared) || fragment.size() > longestLink)
        return SharedAnswers{{}, {}, false};
    return shared;
}

SharedAnswers readAnswerFields(std::string_view fields)
{
    SharedAnswers shared;
    readFields(fields, shared);
    return shared;
}

QuestionnaireAnswers answersOf(const SharedAnswers &shared)
{
    QuestionnaireAnswers answers = firstAnswers();
    for (const auto &[name, value] : shared.answers) {
        const AnswerField *field = answerFieldNamed(name);
        if (field->text != nullptr) {
            answers.answers.*field->text = value;
        } else if (field->cost != nullptr) {
            answers.cost.*field->cost = value;
        } else {
            answers.answers.*field->choice = value == yes;
            answers.answered.*field->answered = true;
        }
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
