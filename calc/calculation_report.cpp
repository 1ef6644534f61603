#include "calc/calculation_report.h"

#include "calc/power_units.h"

namespace klimora {

CalculationReport reportCalculation(const CoolingLoadAnswers &answers,
                                    const CoolingLoadTerms &terms, double total,
                                    const NumberFormat &format)
{
    return {numberToText(total, format), equivalentsText(total, format),
            breakdownRows(answers, terms, total, format), unitChoice(total, format)};
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
    return text;
}

} // namespace klimora
