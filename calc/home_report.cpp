#include "calc/home_report.h"

#include "calc/answer_link.h"
#include "calc/calculation_report.h"
#include "calc/unit_classes.h"

#include <array>
#include <cstddef>

namespace klimora {

namespace {

// "1 habitación" or "3 habitaciones", and the like.
std::string counted(int count, const char *one, const char *many, const NumberFormat &format)
{
    return numberToText(count, format) + " " + (count == 1 ? one : many);
}

// "2 equipos de 2250 frigorías, 1 de 3000 frigorías y 1 de 4500 frigorías"
std::string unitsText(const std::array<int, unitClassCount> &bySize, const NumberFormat &format)
{
    std::vector<std::string> parts;
    for (std::size_t size = 0; size < unitClassCount; ++size) {
        if (bySize[size] == 0)
            continue;
        const auto units = parts.empty() ? counted(bySize[size], "equipo", "equipos", format)
                                         : numberToText(bySize[size], format);
        parts.push_back(units + " de " + numberToText(unitClassFrigorias(size), format) + " frigorías");
    }
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " y " : ", ") + parts[i];
    return text;
}

} // namespace

HomeReport homeReport(const std::vector<std::string_view> &roomLinks, const NumberFormat &format)
{
    HomeReport home;
    double frigorias = 0;
    std::array<int, unitClassCount> bySize{};
    int withoutTotal = 0;
    int tooLarge = 0;
    for (const std::string_view link : roomLinks) {
        const auto shared = readLink(link);
        if (!shared || !shared->whole) {
            home.rooms.push_back({"", "Sin resultado: las respuestas guardadas no se pueden leer."});
            ++withoutTotal;
            continue;
        }
        CoolingLoadFields fields;
        const CalculationResult result = calculate(answersOf(inFormat(*shared, format)), format, fields);
        if (result.failure) {
            // Its first line: the question to look at is not on screen.
            const std::string &message = result.failure->message;
            home.rooms.push_back({"", "Sin resultado: " + message.substr(0, message.find('\n'))});
            ++withoutTotal;
            continue;
        }
        const CalculationReport &report = result.report;
        // As the result writes it.
        RoomFigures room{report.total + " frigorias/hora", "No necesita equipo"};
        // A room that needs no cooling cools no other.
        if (report.frigoriasPerHour > 0)
            frigorias += report.frigoriasPerHour;
        if (report.units.chosen) {
            room.unit = unitClassName(*report.units.chosen, format);
            ++bySize[*report.units.chosen];
        } else if (!report.units.classes.empty()) {
            room.unit = "Ningún equipo habitual es suficiente";
            ++tooLarge;
        }
        home.rooms.push_back(std::move(room));
    }
    home.total = "Total de la casa: " + numberToText(frigorias, format) + " frigorías/hora";
    if (withoutTotal > 0)
        home.total += ", sin contar " + counted(withoutTotal, "habitación", "habitaciones", format) +
                      " sin resultado";
    home.units = unitsText(bySize, format);
    if (tooLarge > 0) {
        home.units += home.units.empty() ? "" : ". ";
        home.units += "Para " + counted(tooLarge, "habitación", "habitaciones", format) +
                      ", más de un equipo o un instalador";
    }
    return home;
}

} // namespace klimora
