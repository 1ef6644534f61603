#include "calc/load_breakdown.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace klimora {

namespace {

struct Term {
    const char *name = "";
    double value = 0;
    double whole = 0;
    bool moved = false;
};

// Rounds each term down, then gives the units still missing from the rounded
// total to the terms that lost the most (largest remainder), so that a person
// adding the rows gets the total. Sums carry a little rounding of their own: a
// total just under the terms' sum takes a unit back from the smallest
// remainder. Past 2^53 every double is whole already.
template <std::size_t N>
void roundToWholes(std::array<Term, N> &terms, std::size_t count, double total)
{
    double missing = std::round(total);
    for (std::size_t i = 0; i < count; ++i) {
        terms[i].whole = std::floor(terms[i].value);
        missing -= terms[i].whole;
    }
    if (!(std::fabs(missing) <= static_cast<double>(count)))
        return;
    const double step = missing > 0 ? 1 : -1;
    const auto lost = [step](const Term &term) { return (term.value - term.whole) * step; };
    const auto steps = static_cast<std::size_t>(std::fabs(missing));
    for (std::size_t done = 0; done < steps; ++done) {
        Term *pick = nullptr;
        for (std::size_t i = 0; i < count; ++i) {
            if (!terms[i].moved && (pick == nullptr || lost(terms[i]) > lost(*pick)))
                pick = &terms[i];
        }
        if (pick == nullptr)
            return;
        pick->moved = true;
        pick->whole += step;
    }
}

} // namespace

std::vector<BreakdownRow> breakdownRows(const CoolingLoadAnswers &answers,
                                        const CoolingLoadTerms &terms, double total,
                                        const NumberFormat &format)
{
    std::array<Term, 6> shown;
    std::size_t count = 0;
    const auto add = [&](bool asked, const char *name, double value) {
        if (asked)
            shown[count++] = {name, value, 0, false};
    };
    add(answers.topFloor, "Techo", terms.roof);
    add(true, "Puertas y ventanas", terms.openings);
    add(true, "Paredes", terms.walls);
    add(answers.sunny, "Sol", terms.sun);
    add(true, "Personas", terms.occupants);
    add(answers.appliances, "Luces y aparatos", terms.appliances);
    roundToWholes(shown, count, total);

    std::vector<BreakdownRow> rows(count);
    const bool shares = total > 0 && std::isfinite(total);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].name = shown[i].name;
        rows[i].term = numberToFixedText(shown[i].whole + 0.0, 0, format);
        if (shares) {
            const double percent = shown[i].value / total * 100;
            rows[i].share = numberToFixedText(percent, 0, format) + "\u00a0%";
            rows[i].barPercent = static_cast<int>(std::clamp(std::round(percent), 0.0, 100.0));
        }
    }
    return rows;
}

} // namespace klimora
