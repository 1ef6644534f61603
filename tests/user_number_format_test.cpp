#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace klimora {
namespace {

// Sets an environment variable for one scope, restoring what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const std::string &value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

class UserNumberFormat : public testing::Test {
protected:
    // Compiled on the spot so the test needs no root and no installed locales.
    static void SetUpTestSuite()
    {
        s_localeDir = std::filesystem::temp_directory_path() /
                      ("klimora-locales-" + std::to_string(getpid()));
        std::filesystem::create_directories(s_localeDir);
        const std::string command = "localedef -i es_ES -f UTF-8 '" +
                                    (s_localeDir / "es_ES.UTF-8").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(s_localeDir); }

    static inline std::filesystem::path s_localeDir;
    ScopedEnvironment m_locpath{"LOCPATH", s_localeDir.string()};
    ScopedEnvironment m_all{"LC_ALL", ""};
    ScopedEnvironment m_numeric{"LC_NUMERIC", ""};
    ScopedEnvironment m_lang{"LANG", ""};
};

TEST_F(UserNumberFormat, FollowsTheEnvironmentInPosixOrder)
{
    struct Case {
        const char *all, *numeric, *lang, *separator;
    };
    const Case cases[] = {
        {"es_ES.UTF-8", "", "", ","},
        {"C", "es_ES.UTF-8", "es_ES.UTF-8", "."},
        {"", "es_ES.UTF-8", "C", ","},
        {"", "", "es_ES.UTF-8", ","},
        {"", "C", "es_ES.UTF-8", "."},
        {"", "", "", "."},
        {"xx_XX.UTF-8", "", "", "."},
    };
    for (const auto &[all, numeric, lang, separator] : cases) {
        setenv("LC_ALL", all, 1);
        setenv("LC_NUMERIC", numeric, 1);
        setenv("LANG", lang, 1);
        EXPECT_EQ(userNumberFormat().decimalSeparator, separator)
            << "LC_ALL=" << all << " LC_NUMERIC=" << numeric << " LANG=" << lang;
    }
}

TEST_F(UserNumberFormat, ReadsTheSettingAnewAtEachCall)
{
    setenv("LC_ALL", "es_ES.UTF-8", 1);
    EXPECT_EQ(userNumberFormat().decimalSeparator, ",");
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(userNumberFormat().decimalSeparator, ".");
}

} // namespace
} // namespace klimora
