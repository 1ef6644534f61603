// The breakdown's wholes and shares, each adding up.
#include "calc/load_breakdown.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <optional>

namespace klimora {

namespace {

// Rounds each value down, then gives the units still missing from the target
// to the values that lost the most (largest remainder), so that a person
// adding the wholes gets the target. A value of 0 stays 0, and a positive
// value never goes below 0. Sums carry a little
// rounding of their own: a target just under the values' sum takes a unit back
// from the smallest remainder. Past 2^53 every double is whole already.
std::vector<double> wholesAddingUpTo(const std::vector<double> &values, double target)
{
    std::vector<double> wholes(values.size());
    double missing = target;
    for (std::size_t i = 0; i < values.size(); ++i) {
        wholes[i] = std::floor(values[i]);
        missing -= wholes[i];
    }
    if (!(std::fabs(missing) <= static_cast<double>(values.size())))
        return wholes;
    const double step = missing > 0 ? 1 : -1;
    const auto lost = [&](std::size_t i) { return (values[i] - wholes[i]) * step; };
    std::vector<bool> moved(values.size());
    const auto movable = [&](std::size_t i) {
        return !moved[i] && values[i] != 0 && !(values[i] > 0 && wholes[i] + step < 0);
    };
    for (auto steps = static_cast<std::size_t>(std::fabs(missing)); steps > 0; --steps) {
        std::optional<std::size_t> pick;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (movable(i) && (!pick || lost(i) > lost(*pick)))
                pick = i;
        }
        if (!pick)
            break;
        moved[*pick] = true;
        wholes[*pick] += step;
    }
    return wholes;
}

double sum(const std::vector<double> &values)
{
    return std::accumulate(values.begin(), values.end(), 0.0);
}

// Whole percentages adding up to 100, of the rounded terms a person reads
// (a term shown as 0 takes 0 %), or of the exact ones for a total under one.
std::vector<double> wholeShares(const std::vector<double> &values,
                                const std::vector<double> &wholes)
{
    const std::vector<double> &weights = sum(wholes) > 0 ? wholes : values;
    const double whole = sum(weights);
    std::vector<double> percents(weights.size());
    std::transform(weights.begin(), weights.end(), percents.begin(),
                   [whole](double weight) { return weight / whole * 100; });
    return wholesAddingUpTo(percents, 100);
}

} // namespace

std::vector<BreakdownRow> breakdownRows(const CoolingLoadTerms &terms, const NumberFormat &format)
{
    std::vector<BreakdownRow> rows;
    std::vector<double> values;
    const auto add = [&](const char *name, std::optional<double> value) {
        if (value) {
            rows.push_back({name, {}, {}, 0});
            values.push_back(*value);
        }
    };
    add("Techo", terms.roof);
    add("Puertas y ventanas", terms.openings);
    add("Paredes", terms.walls);
    add("Sol", terms.sun);
    add("Personas", terms.occupants);
    add("Luces y aparatos", terms.appliances);

    const std::vector<double> wholes = wholesAddingUpTo(values, std::round(terms.total));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].term = numberToFixedText(wholes[i] + 0.0, 0, format);

    const bool shares = terms.total > 0 && std::isfinite(terms.total) &&
                        std::none_of(values.begin(), values.end(), [](double v) { return v < 0; });
    if (!shares)
        return rows;
    const std::vector<double> percents = wholeShares(values, wholes);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].share = numberToFixedText(percents[i], 0, format) + "\u00a0%";
        rows[i].barPercent = static_cast<int>(std::clamp(percents[i], 0.0, 100.0));
    }
    return rows;
}

} // namespace klimora
