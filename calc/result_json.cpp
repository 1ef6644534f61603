// Replies to the page written as JSON, field by field.
#include "calc/result_json.h"

#include "calc/answer_link.h"

#include <charconv>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <utility>

namespace klimora {

namespace {

// A JSON string of well-formed UTF-8: the calculation's own texts, and link
// answers that readLink has checked.
void appendString(std::string &json, std::string_view text)
{
    json += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr std::string_view hex = "0123456789abcdef";
            json += "\\u00";
            json += hex[static_cast<unsigned char>(c) >> 4];
            json += hex[static_cast<unsigned char>(c) & 0xF];
        } else {
            json += c;
        }
    }
    json += '"';
}

// "name":"text" for each field, between commas.
void appendFields(std::string &json,
                  std::initializer_list<std::pair<std::string_view, std::string_view>> fields)
{
    for (const auto &[name, text] : fields) {
        if (json.back() != '{')
            json += ',';
        appendString(json, name);
        json += ':';
        appendString(json, text);
    }
}

// A list item's opening bracket, after a comma unless it comes first.
void openListItem(std::string &json, char opening = '{')
{
    if (json.back() != '[')
        json += ',';
    json += opening;
}

void appendNumber(std::string &json, int value)
{
    char buffer[12];
    json.append(buffer, std::to_chars(std::begin(buffer), std::end(buffer), value).ptr);
}

// The press's fields, after the opening brace.
void appendPress(std::string &json, const PressReply &reply)
{
    const CalculationResult &result = reply.result;
    appendFields(json, {{"link", reply.link}});
    if (result.failure) {
        // The hint's sentence on a line of its own after the message.
        const std::string message = reply.hint.sentence.empty()
                                        ? result.failure->message
                                        : result.failure->message + '\n' + reply.hint.sentence;
        json += ",\"error\":{";
        appendFields(json, {{"answer", answerName(result.failure->answer)},
                            {"message", message},
                            {"otherSeparator", reply.hint.otherSeparator},
                            {"useOther", reply.hint.useOther}});
        json += '}';
        return;
    }
    const CalculationReport &report = result.report;
    appendFields(
        json,
        {{"total", report.total}, {"shown", report.shown}, {"equivalents", report.equivalents}});
    json += ",\"breakdown\":[";
    for (const BreakdownRow &row : report.breakdown) {
        openListItem(json);
        appendFields(json, {{"name", row.name}, {"term", row.term}, {"share", row.share}});
        json += ",\"bar\":";
        appendNumber(json, row.barPercent);
        json += '}';
    }
    json += "],\"units\":[";
    for (const UnitClassOffer &offer : report.units.classes) {
        openListItem(json);
        appendFields(json, {{"text", offer.text}, {"name", offer.name}, {"unit", offer.unit}});
        json += offer.corresponds ? ",\"corresponds\":true}" : ",\"corresponds\":false}";
    }
    json += ']';
    appendFields(json, {{"advice", report.units.advice}, {"unit", reply.unit}});
    const RunningCost &cost = reply.cost;
    json += ",\"cost\":{";
    appendFields(json, {{"power", cost.prefilledPower},
                        {"from", cost.prefilledFrom},
                        {"sentence", cost.sentence},
                        {"comparison", cost.comparison}});
    json += ",\"problems\":[";
    for (const CostProblem &problem : cost.problems) {
        openListItem(json);
        appendFields(json, {{"box", problem.box}, {"message", problem.message}});
        json += '}';
    }
    json += "]}";
}

} // namespace

std::string pressJson(const PressReply &reply)
{
    std::string json = "{";
    appendPress(json, reply);
    return json + '}';
}

std::string openedJson(const std::optional<OpenedLink> &opened)
{
    if (!opened)
        return "null";
    std::string json = "{\"answers\":[";
    for (const LinkAnswer &answer : linkAnswers(opened->answers)) {
        openListItem(json, '[');
        appendString(json, answer.name);
        json += ',';
        appendString(json, answer.value);
        json += ']';
    }
    json += ']';
    appendFields(json, {{"separator", opened->separator}});
    json += opened->whole ? ",\"whole\":true" : ",\"whole\":false";
    appendPress(json, opened->reply);
    return json + '}';
}

std::string homeJson(const HomeReport &home)
{
    std::string json = "{\"rooms\":[";
    for (const RoomFigures &room : home.rooms) {
        openListItem(json);
        appendFields(json, {{"name", room.name}, {"total", room.total}, {"unit", room.unit}});
        json += room.readable ? ",\"readable\":true}" : ",\"readable\":false}";
    }
    json += ']';
    appendFields(json, {{"total", home.total}, {"units", home.units}, {"energy", home.energy}});
    return json + '}';
}

} // namespace klimora
