#pragma once
#include "dialogs/frmOptions.h"
#include "keypad/UserChosen.h"
#include "platform/files.h"
#include "practice/frmMain.h"
#include "settings/FirstRunSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "synthesis/SoundBank.h"
#include "synthesis/ToneOptions.h"

#include <functional>

// A learner's program folder with a settings file from an earlier run.
class SettingsFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        resetSharedSettings();
    }

    QString settingsPath() const { return platform::besideProgram(QStringLiteral("saveset.dat")); }
    QByteArray fileBytes() const { return platform::readWholeFile(settingsPath()); }

    // The first-run settings with the given records changed.
    void stored(const std::function<void(SettingsFile&)>& change)
    {
        platform::writeWholeFile(settingsPath(), FirstRunSettingsImage());
        SettingsFile file;
        change(file);
    }

    FrmMain& started()
    {
        FrmMain& f = frmMain();
        f.show();
        return f;
    }

    // Exit, then start again in the same folder as a new program run.
    FrmMain& restarted()
    {
        EXPECT_THROW(frmMain().mnuEnd.click(), ProgramEnded);
        forms::discardAll();
        resetSharedSettings();
        return started();
    }

    static void resetSharedSettings()
    {
        AlphabetIsLatin = -1;
        WaveSampleRate = 16000;
        AnswerTimeLimitSec = 0;
        KanaExcludeDakuten = 0;
        KanaRangeIndex = 0;
        CodeIntervalFactor = 1.0f;
        LatinUserChosen.fill(0);
        KanaUserChosen.fill(0);
        KanaWordFileChoice = 0;
        for (auto* a : {&LatinWordFileTitle, &LatinWordFilePath, &KanaWordFileTitle, &KanaWordFilePath})
            a->fill(QString());
    }
};
