#include "calc/calc_error.h"
#include "calc/calculation_report.h"
#include "calc/cooling_load.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Splits the answers' texts at newlines; missing ones stay empty.
std::string nextText(std::string_view &rest)
{
    const auto end = rest.find('\n');
    std::string text(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return text;
}

// Shares, where shown, add up to 100 %, and at most one size corresponds.
bool reportAgrees(const klimora::CalculationReport &report)
{
    int shares = 0;
    for (const auto &row : report.breakdown) {
        int share = 0;
        std::from_chars(row.share.data(), row.share.data() + row.share.size(), share);
        shares += share;
    }
    int corresponding = 0;
    for (const auto &offer : report.units.classes)
        corresponding += offer.corresponds ? 1 : 0;
    return (shares == 100 || report.breakdown.front().share.empty()) && corresponding <= 1;
}

} // namespace

// Whatever the answers, the calculation returns a finite total or raises
// error 13 or 6, and its report agrees with itself; nothing else may come out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);

    klimora::CoolingLoadAnswers answers;
    answers.topFloor = (flags & 1) != 0;
    answers.sunny = (flags & 2) != 0;
    answers.appliances = (flags & 4) != 0;
    answers.length = nextText(rest);
    answers.width = nextText(rest);
    answers.openings = nextText(rest);
    answers.walls = nextText(rest);
    answers.occupants = nextText(rest);
    const klimora::NumberFormat format{(flags & 8) != 0 ? "," : "."};

    const klimora::CalculationResult result = klimora::calculate(answers, format);
    klimora::CoolingLoadFields fields;
    if (!result.failure && !reportAgrees(result.report))
        std::abort();
    const std::optional<klimora::CalcError> error =
        klimora::computeCoolingLoad(answers, fields, format);
    if (!error && !std::isfinite(fields.dato3))
        std::abort();
    if (error && error->number() != klimora::ErrorNumber::Conversion &&
        error->number() != klimora::ErrorNumber::Overflow)
        std::abort();
    return 0;
}
