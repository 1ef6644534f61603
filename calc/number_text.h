#pragma once

// Numbers read from and written as text in the user's regional format.

#include "calc/calc_error.h"

#include <optional>
#include <string>
#include <string_view>

namespace klimora {

struct NumberFormat {
    std::string decimalSeparator = ".";
};

// The user's regional number format as it stands now; never touches the
// process's own locale, which Qt changes at start-up.
NumberFormat userNumberFormat();

// A text read as a number: its value, or the error it raises.
struct ReadNumber {
    double value = 0;
    std::optional<ErrorNumber> error;
};

// Reads a whole text as one number: Conversion when the text is not a
// number, Overflow when it is beyond the double range.
ReadNumber textToNumber(std::string_view text, const NumberFormat &format);

// Writes at most 15 significant digits, without grouping.
std::string numberToText(double value, const NumberFormat &format);

// Writes exactly `decimals` digits after the separator (0 to 9), or as
// numberToText where that would need more than 15 digits before it.
std::string numberToFixedText(double value, int decimals, const NumberFormat &format);

// A count and what it counts, as one reads it: "1 hora", "2,5 horas".
std::string countText(double count, std::string_view one, std::string_view many,
                      const NumberFormat &format);

} // namespace klimora
