#pragma once
#include "dialogs/frmOptions.h"
#include "sounding/PlayCharacter.h"
#include "support/keypad_fixture.h"
#include "synthesis/frmExchangeProgress.h"

#include <QStringList>
#include <numeric>

// The main window shown and the keyboard's flags cleared; code-check characters
// sound once, 3 units apart.
class KeyboardFixture : public KeypadFixture {
protected:
    void SetUp() override
    {
        KeypadFixture::SetUp();
        CodeCheckPlaying = 0;
        CodeCheckStopRequested = 0;
        ConversionCancelRequested = 0;
        ClearMissCounts();
        frmOptions().textHugouKakuninPlayTimes.setText(QStringLiteral("1"));
        frmOptions().textHugouSpace.setText(QStringLiteral("3"));
    }

    // What the code-check player sounded since the log was last cleared.
    static QStringList sounded()
    {
        QStringList out;
        for (const auto& e : platform::sound().log())
            if (e.played && e.what != QLatin1String("beep"))
                out << e.what;
        return out;
    }

    static int totalMisses()
    {
        return std::accumulate(LatinMissCount.begin(), LatinMissCount.end(), 0)
            + std::accumulate(KanaMissCount.begin(), KanaMissCount.end(), 0);
    }

    // Single-character receive with a run going (Start held off as the run does).
    static void receiveRun(FrmMain& f)
    {
        f.optionKikitoriMode.click();
        f.checkTypeKey.setValue(1);
        f.StartButton_Command.setEnabled(false);
    }

    // A question as the run driver leaves it: sounded, countdown running, no answer.
    static void openQuestion(FrmMain& f, const QString& sent)
    {
        SentChar = sent;
        AnswerChar.clear();
        QuestionOpen = -1;
        CorrectCount = 0;
        ClearMissCounts();
        f.Label1.setCaption(QString());
        f.Label2.setCaption(QStringLiteral("0"));
        f.timerLimitKikitoriMode.setEnabled(true);
        f.RomajiKeyCount = 0;
    }
};
