#pragma once
#include "dialogs/ExamTextState.h"
#include "material/ExamWaveCache.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/SettingsFile.h"
#include "settings/SharedSettings.h"
#include "support/app_fixture.h"
#include "synthesis/ToneOptions.h"

#include <QFile>
#include <functional>

// The program folder of AppFixture with the dialogs' shared state reset, and small
// helpers for the settings file and text files in it.
class DialogFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        CodeIntervalFactor = 1.0f;
        for (auto* n : {&LatinWordLenMin, &LatinWordLenMax, &KanaWordLenMin, &KanaWordLenMax, &LatinWordFileChoice,
                 &KanaWordFileChoice, &LatinCodePlayCount, &LatinCodeGapUnits, &KanaCodePlayCount, &KanaCodeGapUnits,
                 &LatinExamTextSlot, &KanaExamTextSlot, &LatinAutoStartEnd, &KanaAutoStartEnd, &ExamTextDialogOk})
            *n = 0;
        LatinExamTextSelectMode = KanaExamTextSelectMode = 1;
        for (auto* a : {&LatinWordFileTitle, &LatinWordFilePath, &KanaWordFileTitle, &KanaWordFilePath})
            a->fill({});
        LatinExamTextPath.fill({});
        KanaExamTextPath.fill({});
        for (auto* a : {&LatinExamTextEnabled, &KanaExamTextEnabled, &LatinExamTextDrawn, &KanaExamTextDrawn,
                 &LatinExamTextPicked, &KanaExamTextPicked, &LatinExamWaveStartEnd, &KanaExamWaveStartEnd})
            a->fill(0);
        for (auto* a : {&LatinExamWaveFreq, &LatinExamWaveSpeed, &KanaExamWaveFreq, &KanaExamWaveSpeed})
            a->fill(std::nullopt);
        // The first open makes the first-run file, as a first start of the program does.
        SettingsFile first;
        writeBytes(path("dudevadizu.rur"), "CQ\r\nDE\r\nJA1ABC");
        writeBytes(path("dezevazedevovud.eru"), sjis(QStringLiteral("イロハ\r\nニホヘ")));
    }

    static void records(const std::function<void(SettingsFile&)>& use)
    {
        SettingsFile f;
        use(f);
    }
    static QByteArray settingsBytes() { return platform::readWholeFile(SettingsFile::defaultPath()); }

    QString path(const QString& name) const { return platform::besideProgram(name); }
    static void writeBytes(const QString& file, const QByteArray& bytes) { platform::writeWholeFile(file, bytes); }
    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Code page 932 bytes of a text written in the source as UTF-8.
    static QByteArray sjis(const QString& text) { return *platform::encodeCp932(text); }
};
