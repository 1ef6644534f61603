#include "calc/load_breakdown.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

namespace klimora {

namespace {

// Rounds each term down, then gives the units still missing from the rounded
// total to the terms that lost the most (largest remainder), so that a person
// adding the rows gets the total. Past 2^53 every double is whole already.
std::vector<double> wholeTerms(const std::vector<double> &terms, double total)
{
    std::vector<double> wholes(terms.size());
    std::transform(terms.begin(), terms.end(), wholes.begin(),
                   [](double term) { return std::floor(term); });
    const double missing =
        std::round(total) - std::accumulate(wholes.begin(), wholes.end(), 0.0);
    const auto count = static_cast<double>(terms.size());
    if (!(std::fabs(missing) <= count))
        return wholes;
    std::vector<std::size_t> byRemainder(terms.size());
    std::iota(byRemainder.begin(), byRemainder.end(), std::size_t{0});
    std::stable_sort(byRemainder.begin(), byRemainder.end(), [&](std::size_t a, std::size_t b) {
        return terms[a] - wholes[a] > terms[b] - wholes[b];
    });
    // Sums carry a little rounding of their own: a total just under the
    // terms' sum takes the unit back from the smallest remainder.
    const auto steps = static_cast<std::size_t>(std::fabs(missing));
    for (std::size_t i = 0; i < steps; ++i) {
        if (missing > 0)
            wholes[byRemainder[i]] += 1;
        else
            wholes[byRemainder[terms.size() - 1 - i]] -= 1;
    }
    return wholes;
}

} // namespace

std::vector<BreakdownRow> breakdownRows(const CoolingLoadAnswers &answers,
                                        const CoolingLoadTerms &terms, double total,
                                        const NumberFormat &format)
{
    std::vector<std::pair<const char *, double>> shown;
    if (answers.topFloor)
        shown.emplace_back("Techo", terms.roof);
    shown.emplace_back("Puertas y ventanas", terms.openings);
    shown.emplace_back("Paredes", terms.walls);
    if (answers.sunny)
        shown.emplace_back("Sol", terms.sun);
    shown.emplace_back("Personas", terms.occupants);
    if (answers.appliances)
        shown.emplace_back("Luces y aparatos", terms.appliances);

    std::vector<double> values;
    for (const auto &[name, value] : shown)
        values.push_back(value);
    const std::vector<double> wholes = wholeTerms(values, total);

    std::vector<BreakdownRow> rows;
    const bool shares = total > 0 && std::isfinite(total);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        BreakdownRow row{shown[i].first, numberToFixedText(wholes[i] + 0.0, 0, format), {}, 0};
        if (shares) {
            const double percent = shown[i].second / total * 100;
            row.share = numberToFixedText(percent, 0, format) + "\u00a0%";
            row.barPercent = static_cast<int>(std::clamp(std::round(percent), 0.0, 100.0));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace klimora
