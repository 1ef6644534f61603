// The electricity a unit uses at most, what that costs a year, and another
// unit beside it: what it saves, and whether the dearer one pays back.
#include "calc/running_cost.h"

#include "calc/power_units.h"

#include <cmath>
#include <limits>

namespace klimora {

namespace {

// The energy label's class A for split units starts above this EER.
constexpr double leastClassAEfficiency = 3.2;
constexpr double firstHours = 8;
constexpr double firstDays = 90;
constexpr double unbounded = std::numeric_limits<double>::infinity();
constexpr double mostWatts = 100000;

// "117720" or "52,38": whole from 100 on, else with at most two decimals.
std::string amountText(double value, const NumberFormat &format)
{
    if (std::fabs(value) >= 100)
        return numberToText(std::round(value), format);
    return numberToText(std::round(value * 100) / 100, format);
}

// The boxes read as the questionnaire's answers are, each within its range.
class Boxes {
public:
    Boxes(const NumberFormat &format, std::vector<CostProblem> &problems)
        : m_format(format), m_problems(problems)
    {
    }

    // The box's figure, its first one where it is empty, or nullopt: for an
    // empty box with none, or one out of range, which is then a problem.
    std::optional<double> read(const std::string &text, std::string_view box,
                               std::optional<double> first, double least, double most,
                               const char *asked)
    {
        if (text.empty())
            return first;
        const ReadNumber read = textToNumber(text, m_format);
        if (!read.error && read.value >= least && read.value <= most)
            return read.value;
        std::string message = asked;
        message += numberToText(least, m_format);
        message += std::isinf(most) ? " o más." : " a " + numberToText(most, m_format) + ".";
        m_problems.push_back({box, message});
        return std::nullopt;
    }

private:
    const NumberFormat &m_format;
    std::vector<CostProblem> &m_problems;
};

constexpr const char *watts = "Escriba la potencia eléctrica en W, de ";

// Whether the dearer unit pays back what it costs more, by what it saves.
std::string payback(double extra, double saved, bool otherIsDearer, const NumberFormat &format)
{
    const std::string dearer = otherIsDearer ? "el otro" : "este";
    if (saved > 0) {
        const double years = extra / saved;
        return " Lo que " + dearer + " cuesta de más se recupera " +
               (years < 1 ? std::string("en menos de un año")
                          : "en unos " + numberToFixedText(years, 1, format) + " años") +
               " con lo que ahorra.";
    }
    if (saved == 0)
        return " Lo que " + dearer + " cuesta de más no se recupera con lo que ahorra.";
    return otherIsDearer ? " Este es más barato de comprar y de usar."
                         : " El otro es más barato de comprar y de usar.";
}

} // namespace

double prefilledWatts(int frigoriasPerHour)
{
    return std::round(powerEquivalents(frigoriasPerHour).kilowatts * 1000 / leastClassAEfficiency /
                      10) *
           10;
}

RunningCost runningCost(int unitFrigorias, const CostAnswers &answers, const NumberFormat &format)
{
    RunningCost cost;
    const double prefilled = prefilledWatts(unitFrigorias);
    cost.prefilledPower = numberToText(prefilled, format);
    cost.prefilledFrom =
        "La de un equipo de este tamaño con un EER de " +
        numberToFixedText(leastClassAEfficiency, 1, format) +
        ", el mínimo de la clase A. Mejor la de su etiqueta o su ficha técnica "
        "(«Potencia eléctrica» o «Consumo», en W). Es lo que gasta a toda potencia: un equipo "
        "inverter, con la habitación ya fresca, gasta menos.";
    Boxes boxes(format, cost.problems);
    const auto power = boxes.read(answers.power, "potencia", prefilled, 1, mostWatts, watts);
    const auto hours =
        boxes.read(answers.hours, "horas", firstHours, 0, 24, "Escriba las horas por día, de ");
    const auto days =
        boxes.read(answers.days, "dias", firstDays, 0, 366, "Escriba los días al año, de ");
    const auto price = boxes.read(answers.price, "precio", std::nullopt, 0, unbounded,
                                  "Escriba el precio del kWh: ");
    const auto other =
        boxes.read(answers.otherPower, "potencia-otro", std::nullopt, 1, mostWatts, watts);
    const auto thisPrice =
        boxes.read(answers.unitPrice, "compra", std::nullopt, 0, unbounded, "Escriba un precio: ");
    const auto otherPrice = boxes.read(answers.otherPrice, "compra-otro", std::nullopt, 0,
                                       unbounded, "Escriba un precio: ");
    if (!power || !hours || !days)
        return cost;

    const double perDay = *power * *hours / 1000;
    const double perYear = perDay * *days;
    cost.kilowattHoursPerYear = perYear;
    // A price at which the most any unit can use costs a figure.
    const double perKilowattHour = price.value_or(0);
    const bool priced = price && std::isfinite(mostWatts * 24 * 366 / 1000 * perKilowattHour);
    if (price && !priced)
        cost.problems.push_back({"precio", "Ese precio da una cifra demasiado grande."});
    cost.sentence = "Usado " + countText(*hours, "hora", "horas", format) + " por día durante " +
                    countText(*days, "día", "días", format) + " al año, gasta como mucho " +
                    amountText(perDay, format) + " kWh por día y " + amountText(perYear, format) +
                    " kWh al año";
    cost.sentence += priced ? ": unos " + amountText(perYear * perKilowattHour, format) +
                                  " al precio que indicó."
                            : ".";
    if (!other)
        return cost;

    const double otherPerYear = *other * *hours / 1000 * *days;
    const double saved = perYear - otherPerYear;
    if (saved == 0) {
        cost.comparison = "Los dos gastan lo mismo.";
    } else {
        const char *less = saved > 0 ? " menos" : " más";
        cost.comparison = "El otro gasta como mucho " + amountText(otherPerYear, format) +
                          " kWh al año: " + amountText(std::fabs(saved), format) + " kWh" + less;
        if (priced)
            cost.comparison +=
                ", unos " + amountText(std::fabs(saved * perKilowattHour), format) + less;
        cost.comparison += '.';
    }
    if (!priced || !thisPrice || !otherPrice)
        return cost;
    if (*otherPrice == *thisPrice)
        cost.comparison += " Los dos cuestan lo mismo de comprar.";
    else if (*otherPrice > *thisPrice)
        cost.comparison += payback(*otherPrice - *thisPrice, saved * perKilowattHour, true, format);
    else
        cost.comparison +=
            payback(*thisPrice - *otherPrice, -saved * perKilowattHour, false, format);
    return cost;
}

std::string homeRunningCost(double kilowattHoursPerYear, int roomsLeftOut, std::string_view price,
                            const NumberFormat &format)
{
    std::string text =
        "La casa gasta como mucho " + amountText(kilowattHoursPerYear, format) + " kWh al año";
    if (roomsLeftOut > 0)
        text += ", sin contar " + countText(roomsLeftOut, "habitación", "habitaciones", format);
    const ReadNumber read =
        price.empty() ? ReadNumber{0, ErrorNumber::Conversion} : textToNumber(price, format);
    if (!read.error && read.value >= 0 && std::isfinite(kilowattHoursPerYear * read.value))
        return text + ": unos " + amountText(kilowattHoursPerYear * read.value, format) + ".";
    return text + '.';
}

} // namespace klimora
