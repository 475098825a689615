#include "fuzz_target.h"

#include "platform/sound/sound_service.h"

#include <QApplication>

#include <cstdlib>

namespace fuzz {

void initialize(int* argc, char*** argv)
{
    static bool done = false;
    if (done)
        return;
    done = true;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt keeps argc by reference for the application's whole life.
    static int qtArgc = 1;
    static char* qtArgv[] = {(argc && *argc > 0) ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
    static QApplication app(qtArgc, qtArgv);
    platform::useSilentSound();
}

} // namespace fuzz
