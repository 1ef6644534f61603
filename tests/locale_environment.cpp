#include "locale_environment.h"

#include <cstdlib>

ScopedEnvironment::ScopedEnvironment(const char *name, const std::string &value) : m_name(name)
{
    if (const char *old = std::getenv(name))
        m_old = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_old)
        setenv(m_name, m_old->c_str(), 1);
    else
        unsetenv(m_name);
}

std::filesystem::path spanishLocaleFolder()
{
    return KLIMORA_TEST_LOCALE_FOLDER;
}

RegionalSetting::RegionalSetting(Kind kind)
    : m_locpath("LOCPATH", spanishLocaleFolder().string()),
      m_all("LC_ALL", kind == Spanish ? "es_ES.UTF-8" : "C")
{
}
