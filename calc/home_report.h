#pragma once

// A home's figures, room by room and whole.

#include "calc/number_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace klimora {

// A room of a home as it is kept: its name, and its answers as a link's
// fragment (calc/answer_link.h).
struct HomeRoom {
    std::string_view name;
    std::string_view answers;
};

// One room of a home as its list shows it.
struct RoomFigures {
    std::string name;
    // "3049,6 frigorias/hora"; empty when its answers give no total.
    std::string total;
    // The unit size that corresponds, or why there is none.
    std::string unit;
    // False when its answers are no link that reads whole.
    bool readable = true;
};

// Every room of a home, and what the home takes with one unit per room.
struct HomeReport {
    std::vector<RoomFigures> rooms;
    // "Total de la casa: 6099,2 frigorías/hora", and the rooms it leaves out.
    std::string total;
    // "2 equipos de 2250 frigorías y 1 de 3000 frigorías"
    std::string units;
    // What the rooms' units use at most, and cost at the price given (the
    // home's price of the kWh, empty for none).
    std::string energy;
};

// The figures, and the price, are written with the format's separator.
HomeReport homeReport(const std::vector<HomeRoom> &rooms, std::string_view price,
                      const NumberFormat &format);

} // namespace klimora
