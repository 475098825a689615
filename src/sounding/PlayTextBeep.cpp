// The Beep text player: a whole text, character by character, by the free-text
// reading rules.
#include "sounding/makeBeep.h"

#include "platform/forms/dialogs.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "sounding/TextReading.h"
#include "synthesis/Delay.h"

#include <algorithm>

int PlayTextBeep(const QString& text, std::int32_t dotMs, std::int32_t toneHz)
{
    if (text.isEmpty()) {
        forms::MsgBox(QStringLiteral("読み込む文字が有りません｡"), forms::vbOKOnly | forms::vbCritical,
                      QStringLiteral("エラー"));
        return 0;
    }
    const QString own = text; // the caller's text may change while we wait
    const int n = static_cast<int>(own.size());
    const std::int32_t dash = static_cast<std::int32_t>(std::min<std::int64_t>(3LL * dotMs, INT32_MAX));
    const std::int32_t space = static_cast<std::int32_t>(std::min<std::int64_t>(4LL * dotMs, INT32_MAX));
    QChar pendingMark; // the voicing mark owed to the plain kana just sounded

    for (int i = 0; i < n;) {
        if (StopRequested == -1)
            return n;
        QChar ch = own[i];
        int advance = 1;
        do {
            if (!pendingMark.isNull()) {
                ch = pendingMark;
                pendingMark = QChar();
            } else {
                QChar plain, mark;
                if (SplitVoicedKana(ch, plain, mark)) {
                    ch = plain;
                    pendingMark = mark;
                }
            }
            const QString name(ch);
            if (ch == u'\r' || ch == u'\n') {
                // nothing sounds, nothing waits
            } else if (ch == u' ' || ch == u'　') {
                WaitMilliseconds(space);
            } else if (OpensBracket(ch)) {
                const QString window = own.mid(i, 4);
                bool wordGap = false;
                if (const int row = BracketTokenRow(window, &wordGap))
                    BeepMorseRow(row, window, dotMs, dash, toneHz, wordGap);
                advance = 4; // the bracket and three more, token or not
            } else if (ch == u'(' || ch == u'（' || ch == u')' || ch == u'）') {
                // Another alphabet value (a damaged settings file) sounds nothing.
                if (AlphabetIsLatin == -1 || AlphabetIsLatin == 0)
                    BeepMorseRow(ParenthesisRow(ch, AlphabetIsLatin == 0), name, dotMs, dash, toneHz);
            } else if (const int row = TextListRow(ch)) {
                BeepMorseRow(row, name, dotMs, dash, toneHz);
            }
        } while (!pendingMark.isNull());
        i += advance;
    }
    return n;
}
