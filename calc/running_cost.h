#pragma once

// What a unit costs to run: the electricity it uses at most, running at full
// power every hour it is on, and what that costs a year at the person's price.

#include "calc/number_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klimora {

// The boxes of "Lo que gasta", as typed, by their names (calc/answer_fields.h).
// An empty box takes its first figure: the power prefilled from the unit's
// size, 8 hours, 90 days, and no price of the kWh, nor of either unit.
struct CostAnswers {
    // The unit's size, by its BTU/h; empty for the one that corresponds.
    std::string unit;
    std::string power, hours, days, price;
    // "Comparar con otro equipo": the other unit's power, and what each costs to buy.
    std::string otherPower, unitPrice, otherPrice;

    bool operator==(const CostAnswers &) const = default;
};

// A box whose text is no figure of its range, and what to write in it.
struct CostProblem {
    std::string_view box;
    std::string message;
};

struct RunningCost {
    // The unit's power as prefilled: "1090", and where that figure comes from.
    std::string prefilledPower;
    std::string prefilledFrom;
    // «Usado 8 horas por día durante 90 días al año, gasta como mucho 8,72 kWh
    // por día y 785 kWh al año: unos 117720 al precio que indicó.» Empty where
    // a box it needs holds no figure of its range.
    std::string sentence;
    // The other unit's, beside this one's; empty for none.
    std::string comparison;
    std::vector<CostProblem> problems;
    // The sentence's figures, where it has them.
    std::optional<double> kilowattHoursPerYear;
};

// Every size's power as prefilled, smallest first: a unit of that size that
// gives its frigorías with the least efficiency of the energy label's class A
// (an EER of 3,2), to the nearest 10 W.
double prefilledWatts(int frigoriasPerHour);

// For a unit of the given frigorías, with the answers' texts read as the
// questionnaire's are.
RunningCost runningCost(int unitFrigorias, const CostAnswers &answers, const NumberFormat &format);

// A home's sum, at the home's price: «La casa gasta como mucho 1570 kWh al
// año, sin contar 1 habitación: unos 235440.»
std::string homeRunningCost(double kilowattHoursPerYear, int roomsLeftOut, std::string_view price,
                            const NumberFormat &format);

} // namespace klimora
