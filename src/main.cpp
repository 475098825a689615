#include "platform/sound/sound_service.h"
#include "practice/frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenlo"));
    platform::useDefaultSound();
    FrmMain& main = frmMain(); // loads it: single-instance check, settings, sound bank
    main.show();
    // The program ends through the main window's close box or its Exit menu.
    for (;;)
        platform::clock().yield();
}
