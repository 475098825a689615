#pragma once
#include <functional>
#include <optional>
#include <string>

namespace forms {

// The Qt platform to ask for before the application is made, from the environment
// (env gives a variable's value or nullptr). The learner's own QT_QPA_PLATFORM stands.
// Else, with an X display (a Wayland desktop's XWayland too), X first: there the
// windows' places, owners and frames are as designed; Wayland ignores the places a
// program gives. Where no X server answers Qt falls back to Wayland; with no X display
// nothing is asked and Qt takes what is there.
std::optional<std::string> chosenQtPlatform(const std::function<const char*(const char*)>& env);

// Applies the choice to this process's environment, for the application about to be
// made; takeBackQtPlatform() removes it again once it is made, so that what the program
// starts (the desktop's handler of a web page or the ReadMe) inherits the learner's own.
void chooseQtPlatform();
void takeBackQtPlatform();

// True on Wayland, where the compositor has the last word on a window's size: it may
// maximise or full-screen any window, whatever the sizes the window asks for, and ends
// the client that then commits another size. There a form of fixed size is a window of
// least size instead, free to take a larger size with its content where it was.
bool compositorSizesWindows();

} // namespace forms
