// One calculation, reported whole: the total, where it comes from, the sizes.
#include "calc/calculation_report.h"

#include "calc/power_units.h"

namespace klimora {

CalculationResult calculate(const CoolingLoadAnswers &answers, const NumberFormat &format)
{
    CalculationResult result;
    CoolingLoadTerms terms;
    if (const std::optional<CalcError> error =
            computeCoolingLoad(answers, result.fields, format, &terms)) {
        result.failure = CalculationFailure{error->number(), error->answer(), error->message()};
        return result;
    }
    const std::string total = numberToText(terms.total, format);
    result.report = {total,
                     total + " frigorias/hora",
                     equivalentsText(terms.total, format),
                     breakdownRows(terms, format),
                     unitChoice(terms.total, format),
                     terms.total,
                     {}};
    if (const auto chosen = result.report.units.chosen)
        result.report.cost =
            runningCost(result.report.units.classes[*chosen].frigorias, {}, format);
    return result;
}

std::string reportText(const CalculationReport &report, bool whole)
{
    std::string text = report.equivalents;
    if (!text.empty())
        text += "\n\n";
    text += "De dónde salen las frigorías (frigorías/hora):";
    for (const BreakdownRow &row : report.breakdown) {
        text += "\n" + row.name + ": " + row.term;
        if (!row.share.empty())
            text += " (" + row.share + ")";
    }
    if (whole && !report.units.classes.empty()) {
        text += "\n\nEquipos de tamaño habitual:";
        for (const UnitClassOffer &offer : report.units.classes)
            text += "\n" + offer.text;
    }
    if (!report.units.advice.empty())
        text += "\n\n" + report.units.advice;
    if (whole && !report.cost.sentence.empty()) {
        text += "\n\nLo que gasta, con " + report.cost.prefilledPower +
                " W de potencia eléctrica:\n" + report.cost.sentence + "\n" +
                report.cost.prefilledFrom +
                "\nEn la página puede poner sus propias cifras y el precio del kWh: "
                "«Copiar enlace» la abre con estas respuestas.";
    }
    return text;
}

} // namespace klimora
