#include "platform/files.h"
#include "platform/forms/forms.h"
#include "platform/sound/sound_service.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {
// Every test runs in a program folder of its own, so whatever a test makes
// beside the program (saveset.dat, word files, sound files) never lands in the
// build tree nor reaches the next test. Fixtures that need assets set up their
// own folder on top of this one.
class OwnProgramFolder : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        folder_ = std::make_unique<QTemporaryDir>();
        platform::setProgramFolder(folder_->path());
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        platform::setProgramFolder(QString());
        folder_.reset();
    }
    std::unique_ptr<QTemporaryDir> folder_;
};
} // namespace

int main(int argc, char** argv)
{
    // Window tests need no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Text metrics as the program has them.
    forms::useStandInFonts();
    forms::useJapaneseQtTexts();
    // Tests keep time on the virtual clock: never a real sound card.
    platform::useSilentSound();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new OwnProgramFolder);
    return RUN_ALL_TESTS();
}
