#pragma once

// The command line before Qt starts.

#include <optional>

// Answers --help and --version on standard output, before Qt starts, so they
// need no display. Returns the exit status when one of them was asked for;
// every other argument is left to Qt.
std::optional<int> answerInformationOptions(int argc, const char *const *argv);

// Under a Wayland session that also offers X11, runs through XWayland unless
// the user chose a platform: there the desktop draws the title bar and knows
// the window's size is fixed, where Qt's own Wayland title bar offers to
// maximise it.
void preferDesktopTitleBar(int argc, const char *const *argv);
