// The Beep text player: a whole text, character by character, by the free-text
// reading rules the exam compiler reads with too.
#include "sounding/makeBeep.h"

#include "material/ExamTextReader.h"
#include "platform/forms/dialogs.h"
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "synthesis/Delay.h"

#include <algorithm>

namespace {
bool isParenthesis(QChar ch) { return ch == u'(' || ch == u'（' || ch == u')' || ch == u'）'; }
} // namespace

int PlayTextBeep(const QString& text, std::int32_t dotMs, std::int32_t toneHz)
{
    if (text.isEmpty()) {
        forms::MsgBox(
            QStringLiteral("読み込む文字が有りません｡"), forms::vbOKOnly | forms::vbCritical, QStringLiteral("エラー"));
        return 0;
    }
    const QString own = text; // the caller's text may change while we wait
    const int n = static_cast<int>(own.size());
    const auto dash = static_cast<std::int32_t>(std::min<std::int64_t>(3LL * dotMs, INT32_MAX));
    const auto space = static_cast<std::int32_t>(std::min<std::int64_t>(4LL * dotMs, INT32_MAX));

    for (int i = 0; i < n;) {
        if (StopRequested == -1)
            return n;
        QChar ch = own[i];
        int advance = 1;
        // A voiced kana is two passes at one position: its plain kana, then the mark,
        // which always sounds before the next stop test.
        const VoicedKanaReading voiced = ReadVoicedKana(ch);
        if (voiced.mark != VoicingMark::None)
            ch = voiced.plain;
        const QString name(ch);
        if (IsLineBreak(ch)) {
            // nothing sounds, nothing waits
        } else if (IsWordSpace(ch)) {
            WaitMilliseconds(space);
        } else if (OpensBracket(ch)) {
            const QString window = own.mid(i, 4);
            const BracketSign sign = ReadBracketToken(window);
            if (sign != BracketSign::None)
                BeepMorseRow(BracketSignRow(sign), window, dotMs, dash, toneHz, sign == BracketSign::BT);
            advance = 4; // the bracket and three more, token or not
        } else if (isParenthesis(ch)) {
            // Another alphabet value (a damaged settings file) sounds nothing.
            if (AlphabetIsLatin == -1 || AlphabetIsLatin == 0)
                BeepMorseRow(ExamCharacterRow(ch, AlphabetIsLatin == 0), name, dotMs, dash, toneHz);
        } else if (const int row = CharacterListRow(ch)) {
            BeepMorseRow(row, name, dotMs, dash, toneHz);
        }
        if (voiced.mark != VoicingMark::None) {
            const QChar mark = voiced.mark == VoicingMark::Dakuten ? QChar(u'ﾞ') : QChar(u'ﾟ');
            BeepMorseRow(VoicingMarkRow(voiced.mark), QString(mark), dotMs, dash, toneHz);
        }
        i += advance;
    }
    return n;
}
