// The user's decimal separator on Linux, from the locale's data, not the process's locale.
#include "calc/number_text.h"

#include <array>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
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

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

struct LocaleDeleter {
    void operator()(locale_t locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

// glibc's newlocale() keeps a copy of LOCPATH on every call, so the handle is
// made once per setting and kept while the setting stays the same, and so is
// a setting's failure to load. No setting has an empty name, so the first
// call always loads.
class CachedLocale {
public:
    locale_t current()
    {
        std::string name = numericLocaleName();
        std::string path = environmentValue("LOCPATH");
        if (name != m_name || path != m_path) {
            m_handle.reset(newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), locale_t{}));
            m_name = std::move(name);
            m_path = std::move(path);
        }
        return m_handle.get();
    }

private:
    std::string m_name;
    std::string m_path;
    LocaleHandle m_handle;
};

struct IconvDeleter {
    void operator()(iconv_t converter) const { iconv_close(converter); }
};

// The locale's own character set, converted to the UTF-8 that the boxes hold.
std::string toUtf8(std::string text, const char *codeset)
{
    if (codeset == nullptr || std::string_view(codeset) == "UTF-8")
        return text;
    const iconv_t opened = iconv_open("UTF-8", codeset);
    // iconv_open's failure is the pointer whose bits are all ones.
    if (reinterpret_cast<std::intptr_t>(opened) == -1)
        return {};
    const std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvDeleter> converter(opened);
    std::array<char, 64> converted{};
    char *in = text.data();
    std::size_t inLeft = text.size();
    char *out = converted.data();
    std::size_t outLeft = converted.size();
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        return {};
    return {converted.data(), out};
}

} // namespace

NumberFormat userNumberFormat()
{
    // A private locale object: setlocale() would change the whole process.
    thread_local CachedLocale cached;
    const locale_t locale = cached.current();
    if (locale == locale_t{})
        return {};
    const char *separator = nl_langinfo_l(RADIXCHAR, locale);
    if (separator == nullptr || *separator == '\0')
        return {};
    std::string utf8 = toUtf8(separator, nl_langinfo_l(CODESET, locale));
    if (utf8.empty())
        return {};
    return {std::move(utf8)};
}

} // namespace klimora
