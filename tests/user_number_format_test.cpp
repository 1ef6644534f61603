#include "calc/number_text.h"
#include "locale_environment.h"

#include <gtest/gtest.h>

namespace klimora {
namespace {

class UserNumberFormat : public testing::Test {
protected:
    ScopedEnvironment m_locpath{"LOCPATH", spanishLocaleFolder().string()};
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
        {"es_ES.UTF-8", "", "", ","},  {"C", "es_ES.UTF-8", "es_ES.UTF-8", "."},
        {"", "es_ES.UTF-8", "C", ","}, {"", "", "es_ES.UTF-8", ","},
        {"", "C", "es_ES.UTF-8", "."}, {"", "", "", "."},
        {"xx_XX.UTF-8", "", "", "."},  {"xx_XX.ISO-8859-1", "", "", "·"},
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
