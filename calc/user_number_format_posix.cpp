#include "calc/number_text.h"

#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <memory>
#include <type_traits>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

namespace klimora {

namespace {

// The POSIX order of precedence for the numeric category.
const char *numericLocaleName()
{
    for (const char *variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

struct LocaleDeleter {
    void operator()(locale_t locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

} // namespace

NumberFormat userNumberFormat()
{
    // A private locale object: setlocale() would change the whole process.
    const LocaleHandle locale(newlocale(LC_NUMERIC_MASK, numericLocaleName(), locale_t{}));
    if (!locale)
        return {};
    const char *separator = nl_langinfo_l(RADIXCHAR, locale.get());
    if (separator == nullptr || *separator == '\0')
        return {};
    return {separator};
}

} // namespace klimora
