// The Beep text player, heard as Morse on virtual time.
#include "practice/RunState.h"
#include "settings/SharedSettings.h"
#include "sounding/makeBeep.h"
#include "support/app_fixture.h"
#include "support/morse_heard.h"

using namespace forms;

namespace {
constexpr std::int32_t u = 10;

class TextBeep : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        StopRequested = 0;
    }
    // What the text sounds like, and its result.
    std::pair<QString, int> play(const QString& text)
    {
        platform::sound().clearLog();
        const platform::Tick t0 = clock().now();
        const int n = PlayTextBeep(text, u, 800);
        return {heardMorse(t0, u), n};
    }
};
} // namespace

TEST_F(TextBeep, ReadsEveryKindOfCharacterByItsRule)
{
    const struct {
        const char16_t* text;
        const char* heard;
        int result;
    } cases[] = {
        {u"ガギ", ".-.. .. -.-.. ..", 2}, // plain kana, then the voicing mark
        {u"ｶﾞ", ".-.. ..", 2}, // the half-width pair reads the same
        {u"パ", "-... ..--.", 1}, {u"A B", ".- / -...", 3}, // a space makes the 7-unit word gap
        {u"A  B", ".- [11] -...", 4}, {u"[BT]X", "-...- / -..-", 5}, // BT ends with its word gap
        {u"[AR]「ラタ」", ".-.-. ...-.", 8}, {u"[ﾎﾚ]", "-..---", 4},
        {u"[XX]abc", ".- -... -.-.", 7}, // an unknown token still takes four characters
        {u"A[B", ".-", 3}, {u"「アイウ」", ".-.-..", 5}, // the closing mark is read on its own
        {u"ABC\r\nD", ".- -... -.-. -..", 6}, {u"ｈｚａィｨぃ", ".... --.. .- .- .- .-", 6},
        {u"終小引略訂", ".-.-.- --..-- .-..-. .----. ........", 5}, {u"一２3〇", ".---- ..--- ...-- -----", 4},
        {u"ﾙﾓメン", "-.--. -..-. -...- .-.-.", 4}, {u"ヴ＝＋－!", "", 5}, // in no list: skipped silently
    };
    for (const auto& c : cases) {
        const auto [heard, n] = play(QString::fromUtf16(c.text));
        EXPECT_EQ(heard, QString::fromLatin1(c.heard)) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(n, c.result) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_TRUE(dialogs::messages().empty());
}

TEST_F(TextBeep, ParenthesesFollowTheAlphabet)
{
    EXPECT_EQ(play(QString::fromUtf16(u"(x)")).first, "-.--. -..- -.--.-");
    EXPECT_EQ(play(QString::fromUtf16(u"（x）")).first, "-.--. -..- -.--.-");
    AlphabetIsLatin = 0;
    EXPECT_EQ(play(QString::fromUtf16(u"(x)")).first, "-.--.- -..- .-..-.");
    AlphabetIsLatin = 5; // a damaged settings value: the parentheses sound nothing
    EXPECT_EQ(play(QString::fromUtf16(u"(x)")).first, "-..-");
}

TEST_F(TextBeep, EmptyTextIsReportedAndStopIsSeenBeforeEachPosition)
{
    EXPECT_EQ(play(QString()).second, 0);
    ASSERT_EQ(dialogs::messages().size(), 1u);
    EXPECT_EQ(dialogs::messages()[0].prompt, QString::fromUtf16(u"読み込む文字が有りません｡"));
    EXPECT_EQ(dialogs::messages()[0].title, QString::fromUtf16(u"エラー"));
    EXPECT_EQ(dialogs::messages()[0].buttons, vbOKOnly | vbCritical);

    StopRequested = -1;
    EXPECT_EQ(play("ABC"), (std::pair<QString, int> {QString(), 3}));

    // Stop while the plain kana of ガ sounds: its mark still follows, then nothing.
    StopRequested = 0;
    clock().callAfter(2 * u, [] { StopRequested = -1; });
    EXPECT_EQ(play(QString::fromUtf16(u"ガAB")), (std::pair<QString, int> {".-.. ..", 3}));
}
