// A home's figures: each room's, and what the home takes.
#include "calc/home_report.h"

#include "calc/actions.h"
#include "calc/answer_link.h"
#include "calc/calc_error.h"
#include "calc/calculation_report.h"
#include "calc/unit_classes.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace klimora {

namespace {

// "2 equipos de 2250 frigorías, 1 de 3000 frigorías y 1 de 4500 frigorías"
std::string unitsText(const std::array<int, unitClassCount> &bySize, const NumberFormat &format)
{
    std::vector<std::string> parts;
    for (std::size_t size = 0; size < unitClassCount; ++size) {
        if (bySize[size] == 0)
            continue;
        const auto units = parts.empty() ? countText(bySize[size], "equipo", "equipos", format)
                                         : numberToText(bySize[size], format);
        parts.push_back(units + " de " + numberToText(unitClassFrigorias(size), format) +
                        " frigorías");
    }
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " y " : ", ") + parts[i];
    return text;
}

} // namespace

HomeReport homeReport(const std::vector<HomeRoom> &rooms, std::string_view price,
                      const NumberFormat &format)
{
    HomeReport home;
    double frigorias = 0;
    std::array<int, unitClassCount> bySize{};
    int withoutTotal = 0;
    int withoutNeed = 0;
    int tooLarge = 0;
    double kilowattHours = 0;
    bool costed = false;
    // Rooms whose unit's use is unknown: without a result, beyond every size,
    // or with a box of "Lo que gasta" that holds no figure.
    int uncosted = 0;
    for (const auto &[name, answers] : rooms) {
        RoomFigures room{std::string(name), "", "", true};
        const auto shared = readLink(answers);
        if (!shared || !shared->whole) {
            room.unit = "Sin resultado: las respuestas guardadas no se pueden leer.";
            room.readable = false;
            home.rooms.push_back(std::move(room));
            ++withoutTotal;
            continue;
        }
        const PressReply reply = pressReply(answersOf(inFormat(*shared, format)), format);
        const CalculationResult &result = reply.result;
        if (result.failure) {
            // Its first line: the question to look at is not on screen.
            const std::string &message = result.failure->message;
            room.unit = "Sin resultado: " + message.substr(0, message.find('\n'));
            home.rooms.push_back(std::move(room));
            ++withoutTotal;
            continue;
        }
        const CalculationReport &report = result.report;
        room.total = report.shown;
        if (reply.cost.kilowattHoursPerYear) {
            kilowattHours += *reply.cost.kilowattHoursPerYear;
            costed = true;
        } else if (report.frigoriasPerHour > 0) {
            ++uncosted;
        }
        room.unit = "No necesita equipo";
        // A room that needs no cooling cools no other.
        if (report.frigoriasPerHour > 0)
            frigorias += report.frigoriasPerHour;
        else
            ++withoutNeed;
        if (report.units.chosen) {
            room.unit = unitClassName(*report.units.chosen, format);
            ++bySize[*report.units.chosen];
        } else if (!report.units.classes.empty()) {
            room.unit = "Ningún equipo habitual es suficiente";
            ++tooLarge;
        }
        home.rooms.push_back(std::move(room));
    }
    home.total = std::isfinite(frigorias)
                     ? "Total de la casa: " + numberToText(frigorias, format) + " frigorías/hora"
                     : "Total de la casa: " + CalcError(ErrorNumber::Overflow).message();
    std::vector<std::string> leftOut;
    if (withoutTotal > 0)
        leftOut.push_back(countText(withoutTotal, "habitación", "habitaciones", format) +
                          " sin resultado");
    if (withoutNeed > 0)
        leftOut.push_back(countText(withoutNeed, "habitación que no necesita equipo",
                                    "habitaciones que no necesitan equipo", format));
    for (std::size_t i = 0; i < leftOut.size(); ++i)
        home.total += (i == 0 ? ", sin contar " : " ni ") + leftOut[i];
    home.units = unitsText(bySize, format);
    if (tooLarge > 0) {
        home.units += home.units.empty() ? "" : ". ";
        home.units += "Para " + countText(tooLarge, "habitación", "habitaciones", format) +
                      ", más de un equipo o un instalador";
    }
    if (costed)
        home.energy = homeRunningCost(kilowattHours, withoutTotal + uncosted, price, format);
    return home;
}

} // namespace klimora
