#include "calc/result_json.h"

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

} // namespace

std::string resultJson(const CalculationResult &result)
{
    std::string json = "{";
    if (result.failure) {
        json += "\"error\":{";
        appendFields(json, {{"answer", answerName(result.failure->answer)},
                            {"message", result.failure->message}});
        return json + "}}";
    }
    const CalculationReport &report = result.report;
    appendFields(json, {{"total", report.total}, {"equivalents", report.equivalents}});
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
        appendFields(json, {{"text", offer.text}});
        json += offer.corresponds ? ",\"corresponds\":true}" : ",\"corresponds\":false}";
    }
    json += ']';
    appendFields(json, {{"advice", report.units.advice}});
    return json + '}';
}

std::string sharedAnswersJson(const std::optional<SharedAnswers> &shared)
{
    if (!shared)
        return "null";
    std::string json = "{\"answers\":[";
    for (const LinkAnswer &answer : shared->answers) {
        openListItem(json, '[');
        appendString(json, answer.name);
        json += ',';
        appendString(json, answer.value);
        json += ']';
    }
    json += ']';
    appendFields(json, {{"separator", shared->separator}});
    json += shared->whole ? ",\"whole\":true}" : ",\"whole\":false}";
    return json;
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
    appendFields(json, {{"total", home.total}, {"units", home.units}});
    return json + '}';
}

} // namespace klimora
