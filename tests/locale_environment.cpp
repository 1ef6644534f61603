#include "locale_environment.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

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

namespace {

class CompiledLocale {
public:
    CompiledLocale()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("klimora-locales-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(m_folder);
        const std::string command = "localedef -i es_ES -f UTF-8 '" +
                                    (m_folder / "es_ES.UTF-8").string() + "'";
        if (std::system(command.c_str()) != 0)
            m_folder.clear();
    }
    ~CompiledLocale()
    {
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }
    CompiledLocale(const CompiledLocale &) = delete;
    CompiledLocale &operator=(const CompiledLocale &) = delete;

    const std::filesystem::path &folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

} // namespace

std::filesystem::path spanishLocaleFolder()
{
    static const CompiledLocale locale;
    return locale.folder();
}

RegionalSetting::RegionalSetting(Kind kind)
    : m_locpath("LOCPATH", spanishLocaleFolder().string()),
      m_all("LC_ALL", kind == Spanish ? "es_ES.UTF-8" : "C")
{
}
