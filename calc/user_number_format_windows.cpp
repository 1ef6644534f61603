// The user's decimal separator on Windows, from the regional settings.
#include "calc/number_text.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace klimora {

NumberFormat userNumberFormat()
{
    wchar_t separator[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       LOCALE_NAME_MAX_LENGTH);
    if (length <= 1)
        return {};
    char utf8[4 * LOCALE_NAME_MAX_LENGTH];
    const int written = WideCharToMultiByte(CP_UTF8, 0, separator, length - 1, utf8,
                                            static_cast<int>(sizeof utf8), nullptr, nullptr);
    if (written <= 0)
        return {};
    return {std::string(utf8, static_cast<std::size_t>(written))};
}

} // namespace klimora
