#pragma once

// The sizes room air conditioners are sold in, and which to buy.

#include "calc/number_text.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace klimora {

// A size in which room air conditioners are sold, as a list item reads it:
// "12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 99 %".
struct UnitClassOffer {
    std::string text;
    // "12000 BTU/h · 3000 frigorías", and the BTU/h alone, by which a link
    // names the size (calc/answer_fields.h).
    std::string name, unit;
    int frigorias = 0;
    // The smallest class that covers at least 95 % of the load.
    bool corresponds = false;
};

struct UnitChoice {
    // Empty for a load of 0 or less, which needs no unit.
    std::vector<UnitClassOffer> classes;
    // Which of them corresponds; none where none is enough.
    std::optional<std::size_t> chosen;
    // Which one to buy and why, or what to do when none is enough.
    std::string advice;
};

// The sizes sold, smallest first.
inline constexpr std::size_t unitClassCount = 6;

UnitChoice unitChoice(double frigoriasPerHour, const NumberFormat &format);

// A class by its place in the list: "12000 BTU/h · 3000 frigorías", and the
// frigorías alone.
std::string unitClassName(std::size_t index, const NumberFormat &format);
int unitClassFrigorias(std::size_t index);

} // namespace klimora
