#include "calc/calc_error.h"
#include "calc/number_text.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <string_view>

namespace {

// The accepted grammar written out independently of the scanner. std::regex
// recurses per character, so it only looks at short texts.
constexpr std::size_t longestCheckedText = 256;

const std::regex &grammar(char separator)
{
    static const auto make = [](char sep) {
        const std::string s = sep == '.' ? "\\." : std::string(1, sep);
        const std::string blanks = "(?:[ \\t]|\\xC2\\xA0)*";
        return std::regex("^" + blanks + "[+-]?(?:[0-9]+(?:" + s + "[0-9]*)?|" + s +
                          "[0-9]+)(?:[eE][+-]?[0-9]+)?" + blanks + "$");
    };
    static const std::regex comma = make(',');
    static const std::regex dot = make('.');
    return separator == ',' ? comma : dot;
}

// glibc's strtod_l rounds correctly at any length: the number as it reads the
// text once the blanks are gone and the separator is its own ".".
struct Reference {
    bool whole = false;
    bool overflow = false;
    double value = 0;
};

Reference referenceReading(std::string_view text, char separator)
{
    const auto isBlank = [](std::string_view rest, bool atStart) -> std::size_t {
        const std::string_view nbsp = "\xC2\xA0";
        for (const std::string_view blank : {std::string_view(" "), std::string_view("\t"), nbsp}) {
            if (atStart ? rest.starts_with(blank) : rest.ends_with(blank))
                return blank.size();
        }
        return 0;
    };
    while (const std::size_t length = isBlank(text, true))
        text.remove_prefix(length);
    while (const std::size_t length = isBlank(text, false))
        text.remove_suffix(length);
    std::string mapped;
    for (const char c : text) {
        // Only what the grammar can hold: no hex, "inf", "nan" or blanks inside.
        if (std::strchr("0123456789+-eE", c) == nullptr && c != separator)
            return {};
        mapped += c == separator ? '.' : c;
    }
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    char *end = nullptr;
    errno = 0;
    const double value = strtod_l(mapped.c_str(), &end, c);
    Reference reference;
    reference.whole = !mapped.empty() && end == mapped.c_str() + mapped.size();
    reference.overflow = errno == ERANGE && std::isinf(value);
    reference.value = value;
    return reference;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the regional separator.
    const klimora::NumberFormat format{(data[0] & 1) != 0 ? "," : "."};
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    const klimora::ReadNumber read = klimora::textToNumber(text, format);
    const double value = read.value;
    const bool overflowed = read.error == klimora::ErrorNumber::Overflow;
    const bool accepted = !read.error || overflowed;

    const Reference reference = referenceReading(text, format.decimalSeparator[0]);
    check(accepted == reference.whole);
    if (accepted) {
        check(overflowed == reference.overflow);
        check(overflowed || std::memcmp(&value, &reference.value, sizeof value) == 0);
    }

    if (text.size() <= longestCheckedText) {
        check(accepted ==
              std::regex_match(text.begin(), text.end(), grammar(format.decimalSeparator[0])));
    }
    return 0;
}
