#include "calc/actions.h"
#include "calc/answer_link.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The answers' texts at newlines, after a byte of yes/no flags.
klimora::CoolingLoadAnswers answersIn(std::string_view rest, std::uint8_t flags)
{
    klimora::CoolingLoadAnswers answers;
    answers.topFloor = (flags & 1) != 0;
    answers.sunny = (flags & 2) != 0;
    answers.appliances = (flags & 4) != 0;
    for (std::string *text :
         {&answers.length, &answers.width, &answers.openings, &answers.walls, &answers.occupants}) {
        const auto end = rest.find('\n');
        *text = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return answers;
}

} // namespace

// Any bytes as a link: read without a crash, and what is read whole is
// written again into a link that reads back the same. The same bytes as
// answers: any link written of them reads back whole to the same answers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    if (const auto shared = klimora::readLink(bytes); shared && shared->whole) {
        const std::string separator = shared->separator.empty() ? "." : shared->separator;
        if (const auto written = klimora::linkFragment(shared->answers, separator)) {
            const auto again = klimora::readLink(*written);
            if (!again || !again->whole || again->answers != shared->answers ||
                again->separator != separator)
                std::abort();
        }
    }
    if (size == 0)
        return 0;
    const klimora::QuestionnaireAnswers shown{
        answersIn(bytes.substr(1), data[0]),
        {(data[0] & 8) != 0, (data[0] & 16) != 0, (data[0] & 32) != 0}};
    if (const auto written = klimora::linkOf(shown, {","})) {
        const auto read = klimora::readLink(*written);
        klimora::QuestionnaireAnswers expected = shown;
        expected.answers.topFloor = shown.answers.topFloor && shown.answered.topFloor;
        expected.answers.sunny = shown.answers.sunny && shown.answered.sunny;
        expected.answers.appliances = shown.answers.appliances && shown.answered.appliances;
        if (!read || !read->whole || klimora::answersOf(*read) != expected)
            std::abort();
    }
    return 0;
}
