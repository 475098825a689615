#include "practice/Question.h"

#include "platform/numbers.h"
#include "practice/QuenModule.h"
#include "practice/RunState.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/Delay.h"

using namespace forms;

QString SentChar;
QString AnswerChar;
std::int16_t QuestionOpen = 0;
std::int16_t QuestionCounted = 0;
std::int16_t CountdownStoppedByKey = 0;

namespace question {
namespace {
bool receiving(FrmMain& f) { return f.optionKikitoriMode.value(); }

// Closes the open question with text as its answer; false when none is open. A
// question answered while its character still sounds is counted here, so the
// results never hold more answers than questions.
bool take(FrmMain& f, const QString& text)
{
    if (QuestionOpen != -1)
        return false;
    QuestionOpen = 0;
    f.timerLimitKikitoriMode.setEnabled(false);
    AnswerChar = text;
    count();
    return true;
}

void countMiss()
{
    if (AlphabetIsLatin == -1)
        CountLatinMiss(SentChar);
    else if (AlphabetIsLatin == 0)
        CountKanaMiss(GetKanaIndex(SentChar));
}

void showSent(FrmMain& f)
{
    f.Label1.setForeColor(vbBlack);
    f.Label1.setCaption(SentChar);
}

// The count goes up, then the label goes blank in red for at least 80 ms and shows
// the circle. The count comes first: a Stop during the blink shows the results.
void showRight(FrmMain& f)
{
    platform::saturatingIncrement(CorrectCount);
    f.Label2.setCaption(platform::numberText(CorrectCount));
    f.Label1.setForeColor(vbRed);
    f.Label1.setCaption(QString());
    WaitMilliseconds(80);
    if (!f.isLoaded())
        return;
    f.Label1.setCaption(QStringLiteral("○"));
}
} // namespace

void open(const QString& sent)
{
    SentChar = sent;
    QuestionCounted = 0;
    // Only a going run asks: a Beep exam still unwinding after Stop draws its last
    // characters through the same pickers while receive mode may already be chosen.
    if (receiving(frmMain()) && StopRequested != -1) {
        AnswerChar.clear();
        QuestionOpen = -1;
        CountdownStoppedByKey = 0;
    }
}

void openAgain() { open(SentChar); }

void armCountdown()
{
    FrmMain& f = frmMain();
    if (!receiving(f) || QuestionOpen != -1 || StopRequested == -1 || CountdownStoppedByKey == -1)
        return;
    f.Label1.setCaption(QString());
    f.textLimitKikitoriMode.setText(platform::numberText(AnswerTimeLimitSec));
    f.timerLimitKikitoriMode.setEnabled(true);
}

void count()
{
    if (QuestionCounted == -1)
        return;
    QuestionCounted = -1;
    platform::saturatingIncrement(AskedCount);
    frmMain().Label4.setCaption(platform::numberText(AskedCount));
}

bool answer(const QString& text, bool quietWhenNothingSent)
{
    FrmMain& f = frmMain();
    if (!take(f, text))
        return false;
    if (AnswerChar == SentChar) {
        showRight(f);
    } else if (!quietWhenNothingSent || !SentChar.isEmpty()) {
        showSent(f);
        countMiss();
    }
    return true;
}

void giveUp()
{
    FrmMain& f = frmMain();
    if (!take(f, QStringLiteral("ESC"))) {
        f.timerLimitKikitoriMode.setEnabled(false);
        return;
    }
    showSent(f);
    countMiss();
}

void keyReached(bool begins)
{
    frmMain().timerLimitKikitoriMode.setEnabled(false);
    if (begins && QuestionOpen == -1)
        CountdownStoppedByKey = -1;
}

void escapeWhileNoneOpen()
{
    if (QuestionOpen != -1)
        AnswerChar = QStringLiteral("ESC");
}

bool close()
{
    const bool countedButUnanswered = QuestionOpen == -1 && QuestionCounted == -1;
    QuestionOpen = 0;
    QuestionCounted = 0;
    return countedButUnanswered;
}
} // namespace question
