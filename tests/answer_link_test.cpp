#include "calc/actions.h"
#include "calc/answer_link.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace klimora {
namespace {

struct Read {
    const char *name;
    std::string link;
    // "separator | name=value ... | whole", or "none" for no Klimora link.
    const char *expected;
};

void PrintTo(const Read &read, std::ostream *out)
{
    *out << read.name;
}

std::string shown(const std::optional<SharedAnswers> &shared)
{
    if (!shared)
        return "none";
    std::string text = shared->separator + " |";
    for (const auto &[name, value] : shared->answers)
        text += ' ' + name + '=' + value;
    return text + (shared->whole ? " | whole" : " | part");
}

class LinkReading : public testing::TestWithParam<Read> {};

TEST_P(LinkReading, TakesWhatItCanAndSaysWhetherThatIsAll)
{
    EXPECT_EQ(shown(readLink(GetParam().link)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LinkReading,
    testing::Values(Read{"Page", "https://a.example/#v=1&sep=coma&atico=si&largo=4,5&personas=2",
                         ", | atico=si largo=4,5 personas=2 | whole"},
                    Read{"FragmentAlone", "v=1&sep=punto&soleada=no", ". | soleada=no | whole"},
                    Read{"VersionAnywhere", "personas=2&v=1", " | personas=2 | whole"},
                    Read{"NoVersion", "#arriba", "none"},
                    Read{"LaterVersion", "v=2&personas=2", " | | part"},
                    Read{"Escapes", "v=1&puertas=%2B3%20%26%3D%23%25&paredes=%C3%B1",
                         " | puertas=+3 &=#% paredes=ñ | whole"},
                    Read{"UnknownSeparator", "v=1&sep=otro&personas=2", " | personas=2 | part"},
                    Read{"ChoiceNeitherYesNorNo", "v=1&atico=quizas&personas=2",
                         " | personas=2 | part"},
                    Read{"FieldTwice", "v=1&largo=4&largo=5", " | largo=4 | part"},
                    Read{"UnknownField", "v=1&nombre=x&personas=2", " | personas=2 | part"},
                    Read{"NoValue", "v=1&personas&largo=4", " | largo=4 | part"},
                    Read{"CutShort", "v=1&sep=coma&lar", ", | | part"},
                    Read{"BadEscape", "v=1&largo=%G1&ancho=%4", " | | part"},
                    Read{"NotUtf8", "v=1&largo=%C3%28&ancho=%C0%AF&puertas=%ED%A0%80", " | | part"},
                    Read{"TooLong", "v=1&personas=" + std::string(2000, '9'), " | | part"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LinkWriting, EscapesEachAnswerAndWritesNoLinkItCannotReadBack)
{
    QuestionnaireAnswers shown{
        {true, "4·5", "a b&c", "=#%", "ñ", "+2", false, true}, {true, false, true}, {}};
    // A setting that writes decimals with a middle dot links with the point.
    EXPECT_EQ(linkOf(shown, {"·"}),
              "v=1&sep=punto&atico=si&largo=4.5&ancho=a%20b%26c&puertas=%3D%23%25"
              "&paredes=%C3%B1&personas=%2B2&aparatos=si");
    shown.answers.occupants = std::string(1970, '9');
    EXPECT_EQ(linkOf(shown, {","}), std::nullopt);
}

} // namespace
} // namespace klimora
