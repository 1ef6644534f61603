// The cooling-load formula, step by step, in its own precision.
#include "calc/cooling_load.h"

#include "calc/calc_error.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace klimora {

namespace {

constexpr float roofWeight = 25.0F;
constexpr double openingsWeight = 260.0;
constexpr double wallsWeight = 50.0;
constexpr double sunFactor = 1.3;
constexpr double occupantsWeight = 150.0;
constexpr std::int16_t appliancesAllowance = 500;

double checked(double value, Answer answer)
{
    if (!std::isfinite(value))
        throw CalcError(ErrorNumber::Overflow, answer);
    return value;
}

double readAnswer(const std::string &text, Answer answer, const NumberFormat &format)
{
    try {
        return textToNumber(text, format);
    } catch (const CalcError &error) {
        throw CalcError(error.number(), answer);
    }
}

double weighted(const std::string &text, Answer answer, double weight, const NumberFormat &format)
{
    return checked(readAnswer(text, answer, format) * weight, answer);
}

float floorArea(const CoolingLoadAnswers &answers, const NumberFormat &format)
{
    const double width = readAnswer(answers.width, Answer::Width, format);
    const double length = readAnswer(answers.length, Answer::Length, format);
    const double area = length * width;
    if (!(std::fabs(area) <= FLT_MAX))
        throw CalcError(ErrorNumber::Overflow, Answer::Length);
    return static_cast<float>(area);
}

double buildingFabric(const CoolingLoadAnswers &answers, float m, const NumberFormat &format,
                      CoolingLoadTerms &terms)
{
    if (answers.topFloor) {
        terms.openings = weighted(answers.openings, Answer::Openings, openingsWeight, format);
        terms.roof = double{m} * double{roofWeight};
        const double withRoof = checked(terms.openings + *terms.roof, Answer::Length);
        terms.walls = weighted(answers.walls, Answer::Walls, wallsWeight, format);
        return checked(withRoof + terms.walls, Answer::Walls);
    }
    terms.walls = weighted(answers.walls, Answer::Walls, wallsWeight, format);
    terms.openings = weighted(answers.openings, Answer::Openings, openingsWeight, format);
    return checked(terms.openings + terms.walls, Answer::Walls);
}

double withSunAndOccupants(const CoolingLoadAnswers &answers, double dato1,
                           const NumberFormat &format, CoolingLoadTerms &terms)
{
    terms.occupants = weighted(answers.occupants, Answer::Occupants, occupantsWeight, format);
    const double fabric = answers.sunny ? checked(dato1 * sunFactor, Answer::None) : dato1;
    if (answers.sunny)
        terms.sun = fabric - dato1;
    return checked(fabric + terms.occupants, Answer::Occupants);
}

} // namespace

double computeCoolingLoad(const CoolingLoadAnswers &answers, CoolingLoadFields &fields,
                          const NumberFormat &format, CoolingLoadTerms *terms)
{
    CoolingLoadTerms written;
    fields.m = floorArea(answers, format);
    fields.dato1 = buildingFabric(answers, fields.m, format, written);
    fields.dato2 = withSunAndOccupants(answers, fields.dato1, format, written);
    fields.dato3 = answers.appliances ? checked(fields.dato2 + appliancesAllowance, Answer::None)
                                      : fields.dato2;
    if (answers.appliances)
        written.appliances = appliancesAllowance;
    written.total = fields.dato3;
    if (terms != nullptr)
        *terms = written;
    return fields.dato3;
}

} // namespace klimora
