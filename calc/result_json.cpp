#include "calc/result_json.h"

#include <charconv>
#include <iterator>
#include <string_view>

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

void appendField(std::string &json, std::string_view name, std::string_view text)
{
    appendString(json, name);
    json += ':';
    appendString(json, text);
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
        appendField(json, "answer", answerName(result.failure->answer));
        json += ',';
        appendField(json, "message", result.failure->message);
        return json + "}}";
    }
    const CalculationReport &report = result.report;
    appendField(json, "total", report.total);
    json += ',';
    appendField(json, "equivalents", report.equivalents);
    json += ",\"breakdown\":[";
    for (const BreakdownRow &row : report.breakdown) {
        json += json.back() == '[' ? "{" : ",{";
        appendField(json, "name", row.name);
        json += ',';
        appendField(json, "term", row.term);
        json += ',';
        appendField(json, "share", row.share);
        json += ",\"bar\":";
        appendNumber(json, row.barPercent);
        json += '}';
    }
    json += "],\"units\":[";
    for (const UnitClassOffer &offer : report.units.classes) {
        json += json.back() == '[' ? "{" : ",{";
        appendField(json, "text", offer.text);
        json += offer.corresponds ? ",\"corresponds\":true}" : ",\"corresponds\":false}";
    }
    json += "],";
    appendField(json, "advice", report.units.advice);
    return json + '}';
}

std::string sharedAnswersJson(const std::optional<SharedAnswers> &shared)
{
    if (!shared)
        return "null";
    std::string json = "{\"answers\":[";
    for (const LinkAnswer &answer : shared->answers) {
        json += json.back() == '[' ? "[" : ",[";
        appendString(json, answer.name);
        json += ',';
        appendString(json, answer.value);
        json += ']';
    }
    json += "],";
    appendField(json, "separator", shared->separator);
    json += shared->whole ? ",\"whole\":true}" : ",\"whole\":false}";
    return json;
}

std::string homeJson(const HomeReport &home)
{
    std::string json = "{\"rooms\":[";
    for (const RoomFigures &room : home.rooms) {
        json += json.back() == '[' ? "{" : ",{";
        appendField(json, "total", room.total);
        json += ',';
        appendField(json, "unit", room.unit);
        json += '}';
    }
    json += "],";
    appendField(json, "total", home.total);
    json += ',';
    appendField(json, "units", home.units);
    return json + '}';
}

} // namespace klimora
