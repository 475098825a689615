#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace forms {

// Message box flags and results, as the original numbers them.
constexpr int vbOKOnly = 0, vbOKCancel = 1, vbYesNo = 4;
constexpr int vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64;
constexpr int vbSystemModal = 4096;
constexpr int vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7;

// Shows a message box and returns the button chosen. The first button is the default.
// Application-modal (system-modal: kept on top); a nested loop on the clock's yield,
// so timers keep ticking; callable from key handlers and timers.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

struct MsgBoxRecord {
    QString prompt;
    int buttons;
    QString title;
    int answer;
};

// An open-file dialog. filter is the original's "description|pattern|description|pattern"
// list; the first filter is selected. A missing initial folder falls back to the home
// folder. A name typed without an extension gets defaultExt. With createPrompt a name
// that does not exist is accepted after a Yes/No question, only in an existing folder.
// Nothing is created.
struct FileOpenRequest {
    QString filter;
    QString initialDir;
    QString title;
    QString defaultExt;
    bool createPrompt = false;
};
struct FileOpenResult {
    bool cancelled = true;
    QString path; // full name
    QString fileTitle; // name without the folder
};
FileOpenResult showFileOpen(const FileOpenRequest& request);

// The seams. Scripted mode is on while answers are queued, after dialogs::setScripted(true),
// and whenever Qt runs offscreen (no one could answer a real dialog): a box then takes the
// next queued answer, or its default (the first button; the file dialog: cancelled), and
// every box and dialog is recorded.
namespace dialogs {
    void setScripted(bool on);
    bool scripted();
    void queueAnswer(int vbResult);
    // A path for the next file dialog (the default extension is applied as a typed name
    // would get it); an empty path answers Cancel.
    void queueFile(const QString& path);
    const std::vector<MsgBoxRecord>& messages();
    const std::vector<FileOpenRequest>& fileRequests();
    // Clears queues and records.
    void reset();
}

} // namespace forms
