#include "platform/forms/forms.h"
#include "platform/sound/sound_service.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Window tests need no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Text metrics as the program has them.
    forms::useStandInFonts();
    // Tests keep time on the virtual clock: never a real sound card.
    platform::useSilentSound();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
