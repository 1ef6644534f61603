#pragma once

#include "calc/number_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace klimora {

// One room of a home as its list shows it.
struct RoomFigures {
    // "3049,6 frigorias/hora"; empty when its answers give no total.
    std::string total;
    // The unit size that corresponds, or why there is none.
    std::string unit;
};

// Every room of a home, and what the home takes with one unit per room.
struct HomeReport {
    std::vector<RoomFigures> rooms;
    // "Total de la casa: 6099,2 frigorías/hora"
    std::string total;
    // "2 equipos de 2250 frigorías y 1 de 3000 frigorías"
    std::string units;
};

// Each room given by its answers' link fragment (calc/answer_link.h); the
// figures are written with the format's separator.
HomeReport homeReport(const std::vector<std::string_view> &roomLinks, const NumberFormat &format);

} // namespace klimora
