// The cooling-load formula, step by step, in its own precision.
#include "calc/cooling_load.h"

#include "calc/calc_error.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>

namespace klimora {

namespace {

constexpr float roofWeight = 25.0F;
constexpr double openingsWeight = 260.0;
constexpr double wallsWeight = 50.0;
constexpr double sunFactor = 1.3;
constexpr double occupantsWeight = 150.0;
constexpr std::int16_t appliancesAllowance = 500;

// The formula's steps, each a value or nullopt once the calculation has
// stopped at an error, which it keeps.
class Steps {
public:
    explicit Steps(const NumberFormat &format) : m_format(format) {}

    std::optional<double> checked(double value, Answer answer)
    {
        if (std::isfinite(value))
            return value;
        return stop(ErrorNumber::Overflow, answer);
    }

    std::optional<double> read(const std::string &text, Answer answer)
    {
        const ReadNumber read = textToNumber(text, m_format);
        if (read.error)
            return stop(*read.error, answer);
        return read.value;
    }

    std::optional<double> weighted(const std::string &text, Answer answer, double weight)
    {
        const std::optional<double> value = read(text, answer);
        return value ? checked(*value * weight, answer) : std::nullopt;
    }

    std::nullopt_t stop(ErrorNumber number, Answer answer)
    {
        error = CalcError(number, answer);
        return std::nullopt;
    }

    std::optional<CalcError> error;

private:
    const NumberFormat &m_format;
};

std::optional<float> floorArea(const CoolingLoadAnswers &answers, Steps &steps)
{
    const std::optional<double> width = steps.read(answers.width, Answer::Width);
    const std::optional<double> length =
        width ? steps.read(answers.length, Answer::Length) : std::nullopt;
    if (!length)
        return std::nullopt;
    const double area = *length * *width;
    if (!(std::fabs(area) <= FLT_MAX))
        return steps.stop(ErrorNumber::Overflow, Answer::Length);
    return static_cast<float>(area);
}

std::optional<double> buildingFabric(const CoolingLoadAnswers &answers, float m, Steps &steps,
                                     CoolingLoadTerms &terms)
{
    if (answers.topFloor) {
        const std::optional<double> openings =
            steps.weighted(answers.openings, Answer::Openings, openingsWeight);
        if (!openings)
            return std::nullopt;
        terms.openings = *openings;
        terms.roof = double{m} * double{roofWeight};
        const std::optional<double> withRoof =
            steps.checked(terms.openings + *terms.roof, Answer::Length);
        const std::optional<double> walls =
            withRoof ? steps.weighted(answers.walls, Answer::Walls, wallsWeight) : std::nullopt;
        if (!walls)
            return std::nullopt;
        terms.walls = *walls;
        return steps.checked(*withRoof + terms.walls, Answer::Walls);
    }
    const std::optional<double> walls = steps.weighted(answers.walls, Answer::Walls, wallsWeight);
    const std::optional<double> openings =
        walls ? steps.weighted(answers.openings, Answer::Openings, openingsWeight) : std::nullopt;
    if (!openings)
        return std::nullopt;
    terms.walls = *walls;
    terms.openings = *openings;
    return steps.checked(terms.openings + terms.walls, Answer::Walls);
}

std::optional<double> withSunAndOccupants(const CoolingLoadAnswers &answers, double dato1,
                                          Steps &steps, CoolingLoadTerms &terms)
{
    const std::optional<double> occupants =
        steps.weighted(answers.occupants, Answer::Occupants, occupantsWeight);
    if (!occupants)
        return std::nullopt;
    terms.occupants = *occupants;
    const std::optional<double> fabric =
        answers.sunny ? steps.checked(dato1 * sunFactor, Answer::None) : dato1;
    if (!fabric)
        return std::nullopt;
    if (answers.sunny)
        terms.sun = *fabric - dato1;
    return steps.checked(*fabric + terms.occupants, Answer::Occupants);
}

} // namespace

std::optional<CalcError> computeCoolingLoad(const CoolingLoadAnswers &answers,
                                            CoolingLoadFields &fields, const NumberFormat &format,
                                            CoolingLoadTerms *terms)
{
    Steps steps(format);
    CoolingLoadTerms written;
    const std::optional<float> m = floorArea(answers, steps);
    if (!m)
        return steps.error;
    fields.m = *m;
    const std::optional<double> dato1 = buildingFabric(answers, fields.m, steps, written);
    if (!dato1)
        return steps.error;
    fields.dato1 = *dato1;
    const std::optional<double> dato2 = withSunAndOccupants(answers, fields.dato1, steps, written);
    if (!dato2)
        return steps.error;
    fields.dato2 = *dato2;
    const std::optional<double> dato3 =
        answers.appliances ? steps.checked(fields.dato2 + appliancesAllowance, Answer::None)
                           : fields.dato2;
    if (!dato3)
        return steps.error;
    fields.dato3 = *dato3;
    if (answers.appliances)
        written.appliances = appliancesAllowance;
    written.total = fields.dato3;
    if (terms != nullptr)
        *terms = written;
    return std::nullopt;
}

} // namespace klimora
