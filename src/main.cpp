#include "dialogs/frmAbout.h"
#include "platform/forms/window_system.h"
#include "platform/process.h"
#include "platform/sound/sound_service.h"
#include "practice/frmMain.h"
#include "settings/ExamWaveKeyFile.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

#include <memory>

int main(int argc, char** argv)
{
    platform::holdEndRequests();
    forms::chooseQtPlatform(); // read when the application is made
    QApplication app(argc, argv);
    forms::takeBackQtPlatform();
    ListenForEndRequests();
    QApplication::setApplicationName(QStringLiteral("quenlo"));
    // Every window that sets no icon of its own shows the program's.
    QApplication::setWindowIcon(QIcon(ProgramIcon()));
    forms::useStandInFonts();
    forms::useJapaneseQtTexts();
    platform::useDefaultSound();
    setExamWaveKeyStore(std::make_unique<SettingsExamWaveKeyStore>());
    FrmMain& main = frmMain(); // loads it: single-instance check, settings, sound bank
    main.show();
    // Qt leaves through exit() when the display is lost: that end saves too.
    platform::endThroughHandlerAtExit();
    // The program ends through the main window's close box, its Exit menu or a
    // request from the system, each of which saves the settings first.
    for (;;)
        platform::clock().yield();
}
