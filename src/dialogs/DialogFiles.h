#pragma once
#include <QString>
#include <functional>

class SettingsFile;

// What both settings dialogs do with files: the messages of a file that cannot be
// used, paths the settings file can hold, and writing records.

// A critical message box with an OK button.
void ShowFileProblem(const QString& text, const QString& title);

// Whether the settings file can hold the path as a counted code page 932 text: a
// path that it cannot hold is refused when it is chosen, so a save never fails
// half-way on it. Says so in a message box titled title when it cannot.
bool PathFitsSettings(const QString& path, const QString& title);

// Runs the writes on one open of saveset.dat. When the file cannot be opened or
// written, a message titled "エラー" says so and the result is false.
bool WriteSettings(const std::function<void(SettingsFile&)>& writes);
