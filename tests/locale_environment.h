#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Sets an environment variable for one scope, restoring what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const std::string &value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

// A folder for LOCPATH holding es_ES.UTF-8, compiled by the build so that
// tests need neither root nor installed locales.
std::filesystem::path spanishLocaleFolder();

// The user's regional settings, as a Spanish or a C locale, for one scope.
class RegionalSetting {
public:
    enum Kind { Spanish, C };
    explicit RegionalSetting(Kind kind);

private:
    ScopedEnvironment m_locpath;
    ScopedEnvironment m_all;
};
