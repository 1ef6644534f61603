#pragma once

#include <optional>

// Answers --help and --version on standard output, before Qt starts, so they
// need no display. Returns the exit status when one of them was asked for;
// every other argument is left to Qt.
std::optional<int> answerInformationOptions(int argc, const char *const *argv);
