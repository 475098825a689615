#include "material/ExamSampleBuilders.h"
#include "material/ExamTextReader.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/virtual_clock.h"
#include "synthesis/CharacterWaves.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/ToneSynthesis.h"
#include "synthesis/synthesis_fixture.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

SampleBuffer samplesOfFile(const QString& path)
{
    const QByteArray file = platform::readWholeFile(path);
    SampleBuffer s((file.size() - 44) / 2);
    qFromLittleEndian<std::int16_t>(file.constData() + 44, static_cast<qsizetype>(s.size()),
                                    s.data());
    return s;
}

std::string codeOfRow(int row) { return row ? MorseRowAt(row).code : ""; }

// Sets the shared buffers to recognisable content.
void markBuffers()
{
    ExamSamples.assign(5, 1);
    ExamCharSamples.assign(7, 2);
}

} // namespace

using ExamSampleBuilders = TemporaryProgramFolder;

TEST_F(ExamSampleBuilders, EveryRowSendsItsCodeTwoUnitsAfterWhatTheCharacterFileHolds)
{
    // The codes of the 72 rows, written out independently of the code table.
    const std::map<std::u16string, std::string> codes = {
        {u"A", ".-"},      {u"B", "-..."},     {u"C", "-.-."},    {u"D", "-.."},
        {u"E", "."},       {u"F", "..-."},     {u"G", "--."},     {u"H", "...."},
        {u"I", ".."},      {u"J", ".---"},     {u"K", "-.-"},     {u"L", ".-.."},
        {u"M", "--"},      {u"N", "-."},       {u"O", "---"},     {u"P", ".--."},
        {u"Q", "--.-"},    {u"R", ".-."},      {u"S", "..."},     {u"T", "-"},
        {u"U", "..-"},     {u"V", "...-"},     {u"W", ".--"},     {u"X", "-..-"},
        {u"Y", "-.--"},    {u"Z", "--.."},     {u"1", ".----"},   {u"2", "..---"},
        {u"3", "...--"},   {u"4", "....-"},    {u"5", "....."},   {u"6", "-...."},
        {u"7", "--..."},   {u"8", "---.."},    {u"9", "----."},   {u"0", "-----"},
        {u".", ".-.-.-"},  {u",", "--..--"},   {u"?", "..--.."},  {u"'", ".----."},
        {u"-", "-....-"},  {u"/", "-..-."},    {u"(", "-.--."},   {u")", "-.--.-"},
        {u"\"", ".-..-."}, {u"=", "-...-"},    {u"+", ".-.-."},   {u"訂正", "........"},
        {u"ホレ", "-..---"}, {u"ラタ", "...-."},  {u"ロ", ".-.-"},     {u"ト", "..-.."},
        {u"ソ", "---."},    {u"ノ", "..--"},     {u"オ", ".-..."},    {u"コ", "----"},
        {u"エ", "-.---"},   {u"テ", ".-.--"},    {u"ア", "--.--"},    {u"サ", "-.-.-"},
        {u"キ", "-.-.."},   {u"ヱ", ".--.."},    {u"ユ", "-..--"},    {u"ヰ", ".-..-"},
        {u"ミ", "..-.-"},   {u"シ", "--.-."},    {u"ヒ", "--..-"},    {u"セ", ".---."},
        {u"ス", "---.-"},   {u"ﾟ", "..--."},     {u"ー", ".--.-"},    {u"」", ".-.-.."},
    };
    ASSERT_EQ(codes.size(), 72u);

    ScopedToneOptions options(1, 1);
    platform::ScopedVirtualClock vc; // six writers wait after writing
    const std::int16_t unit = 133;   // 45 characters per minute: 1064 samples at 8000
    for (const auto& [key, code] : codes) {
        const int row = MorseRowOfKey(key);
        const std::string name = QString::fromStdU16String(key).toStdString();
        ASSERT_NE(row, 0) << name;
        EXPECT_EQ(codeOfRow(row), code) << name;

        QByteArray image;
        WriteCharacterWave(row, unit, 800, 8000, image);
        SampleBuffer expected(2 * 1064, 0);
        const SampleBuffer file = samplesOfFile(CharacterWavePath(row));
        expected.insert(expected.end(), file.begin(), file.end());
        // The element buffers as another character left them.
        JoinBuffers2(DotSamples, DashSamples);
        TextCharPos = 2;
        BuildExamSamples(row, unit, 800, 8000);
        EXPECT_EQ(ExamCharSamples, expected) << name;
    }
    EXPECT_EQ(MorseRowOfKey(u"Ä"), 0);
    EXPECT_EQ(MorseRowOfKey(u"BuildSamplesLetterA"), 0);
}

TEST_F(ExamSampleBuilders, LetterEIsThreeUnitsOfSilenceAndOneOfToneAtBothRates)
{
    ScopedToneOptions options(5, 1); // no ramps: every tone sample is non-zero at 800 Hz
    for (std::int32_t rate : {8000, 16000}) {
        TextCharPos = 1;
        BuildExamSamples(MorseRowOfKey(u"E"), 100, 800, rate);
        const std::size_t unit = static_cast<std::size_t>(rate / 10);
        ASSERT_EQ(ExamSamples.size(), 4 * unit) << rate;
        for (std::size_t i = 0; i < ExamSamples.size(); ++i)
            ASSERT_EQ(ExamSamples[i] == 0, i < 3 * unit) << rate << " sample " << i;
    }
}

TEST_F(ExamSampleBuilders, ThePositionCounterDecidesWhereTheCharacterGoes)
{
    ScopedToneOptions options(1, 1);
    BuildDotElement(50, 800, 8000);
    SampleBuffer letterI(2 * 400, 0); // lead of 2 units, then two dot elements
    letterI.insert(letterI.end(), DotSamples.begin(), DotSamples.end());
    letterI.insert(letterI.end(), DotSamples.begin(), DotSamples.end());
    const SampleBuffer before5(5, 1), before7(7, 2);
    const struct {
        std::int16_t pos;
        bool intoRecording, intoLater;
    } cases[] = {{1, true, false},
                 {2, false, true},
                 {300, false, true},
                 {0, false, false},
                 {-4, false, false}};
    for (const auto& c : cases) {
        markBuffers();
        TextCharPos = c.pos;
        BuildExamSamples(MorseRowOfKey(u"I"), 50, 800, 8000);
        EXPECT_EQ(ExamSamples, c.intoRecording ? letterI : before5) << c.pos;
        EXPECT_EQ(ExamCharSamples, c.intoLater ? letterI : before7) << c.pos;
        EXPECT_EQ(TextCharPos, c.pos);
    }
}

// A character is made once and copied afterwards: a change of any setting the
// elements are built from must give the character of the new setting.
TEST_F(ExamSampleBuilders, EachCharacterFollowsTheSettingsItIsBuiltWith)
{
    const struct {
        std::int16_t unit, tone;
        std::int32_t rate;
        int quality, volume;
    } cases[] = {
        // Each differs from the one before in one setting.
        {100, 800, 8000, 1, 1}, {60, 800, 8000, 1, 1},  {60, 600, 8000, 1, 1},
        {60, 600, 16000, 1, 1}, {60, 600, 16000, 3, 1}, {60, 600, 16000, 3, 4},
    };
    platform::ScopedVirtualClock vc;
    const int row = MorseRowOfKey(u"+");
    for (const auto& c : cases) {
        ScopedToneOptions options(c.quality, c.volume);
        QByteArray image;
        WriteCharacterWave(row, c.unit, c.tone, c.rate, image);
        SampleBuffer expected(static_cast<std::size_t>(2 * c.unit * c.rate / 1000), 0);
        const SampleBuffer file = samplesOfFile(CharacterWavePath(row));
        expected.insert(expected.end(), file.begin(), file.end());
        for (std::int16_t pos : {1, 2}) {
            markBuffers();
            TextCharPos = pos;
            BuildExamSamples(row, c.unit, c.tone, c.rate);
            EXPECT_EQ(pos == 1 ? ExamSamples : ExamCharSamples, expected)
                << c.unit << " " << c.tone << " " << c.rate << " " << c.quality << " " << c.volume;
        }
    }
}

TEST_F(ExamSampleBuilders, AFailingElementStoresNothingAndWordGapsAppendFourUnits)
{
    ScopedToneOptions options(1, 1);
    markBuffers();
    TextCharPos = 1;
    EXPECT_THROW(BuildExamSamples(MorseRowOfKey(u"A"), 0, 800, 8000), platform::Failure);
    EXPECT_THROW(BuildExamSamples(MorseRowOfKey(u"A"), 100, 0, 8000), platform::Failure);
    EXPECT_EQ(ExamSamples, SampleBuffer(5, 1));
    EXPECT_EQ(ExamCharSamples, SampleBuffer(7, 2));

    AppendWordGap(133, 8000);
    SampleBuffer expected(5, 1);
    expected.resize(5 + 4 * 1064, 0);
    EXPECT_EQ(ExamSamples, expected);
    // A long unit: 4 units pass the 16-bit range and must still be 4 units.
    ExamSamples.clear();
    AppendWordGap(10000, 8000);
    EXPECT_EQ(ExamSamples.size(), 320000u);
    // 2 units of lead likewise.
    TextCharPos = 1;
    BuildExamSamples(MorseRowOfKey(u"E"), 20000, 800, 8000);
    EXPECT_EQ(ExamSamples.size(), 4u * 160000u);
}

TEST(ExamTextReader, SpellingsReadAsTheirCodeRows)
{
    const struct {
        const char16_t* ch;
        const char16_t* row; // key of the row, "" for nothing
    } cases[] = {
        {u"A", u"A"},
        {u"a", u"A"},
        {u"Ａ", u"A"},
        {u"ａ", u"A"},
        {u"ｲ", u"A"},
        {u"ｨ", u"A"},
        {u"イ", u"A"},
        {u"い", u"A"},
        {u"ィ", u"A"},
        {u"ぃ", u"A"},
        {u"ｈ", u"H"},
        {u"ｚ", u"Z"},
        {u"ﾞ", u"I"},
        {u"ヲ", u"J"},
        {u"ｮ", u"M"},
        {u"っ", u"P"},
        {u"ゃ", u"W"},
        {u"ゥ", u"U"},
        {u"1", u"1"},
        {u"１", u"1"},
        {u"一", u"1"},
        {u"0", u"0"},
        {u"０", u"0"},
        {u"〇", u"0"},
        {u"九", u"9"},
        {u"=", u"="},
        {u"ﾒ", u"="},
        {u"め", u"="},
        {u"+", u"+"},
        {u"ン", u"+"},
        {u"終", u"."},
        {u".", u"."},
        {u"､", u"."},
        {u"、", u"."},
        {u"小", u","},
        {u",", u","},
        {u"？", u"?"},
        {u"モ", u"/"},
        {u"引", u"\""},
        {u"\"", u"\""},
        {u"略", u"'"},
        {u"'", u"'"},
        {u"-", u"-"},
        {u"訂", u"訂正"},
        {u"ﾙ", u"("},
        {u"る", u"("},
        {u"ﾛ", u"ロ"},
        {u"と", u"ト"},
        {u"ｫ", u"オ"},
        {u"ぇ", u"エ"},
        {u"ァ", u"ア"},
        {u"ゅ", u"ユ"},
        {u"ゐ", u"ヰ"},
        {u"ゑ", u"ヱ"},
        {u"ﾟ", u"ﾟ"},
        {u"゜", u"ﾟ"},
        {u"ｰ", u"ー"},
        {u"ー", u"ー"},
        {u"｣", u"」"},
        {u"」", u"」"},
        {u"す", u"ス"},
        // In no list: nothing is sent.
        {u"!", u""},
        {u"ヴ", u""},
        {u"ゔ", u""},
        {u"゛", u""},
        {u"Ω", u""},
        {u"*", u""},
        {u"(", u""},
        {u")", u""},
        {u"[", u""},
    };
    for (const auto& c : cases) {
        const QChar ch(c.ch[0]);
        EXPECT_EQ(CharacterListRow(ch), MorseRowOfKey(c.row)) << QString(ch).toStdString();
        // The exam reads the lists the same way.
        if (ch != u'(' && ch != u')') {
            EXPECT_EQ(ExamCharacterRow(ch, false), MorseRowOfKey(c.row))
                << QString(ch).toStdString();
        }
    }
}

TEST(ExamTextReader, TheExamAlsoReadsFullWidthSignsAndSwitchesParenthesesToKanaCodes)
{
    const struct {
        char16_t ch;
        bool kana;
        const char* code;
    } cases[] = {
        {u'＝', false, "-...-"},  {u'＋', false, ".-.-."}, {u'－', false, "-....-"},
        {u'(', false, "-.--."},   {u'（', false, "-.--."}, {u')', false, "-.--.-"},
        {u'）', false, "-.--.-"}, {u'(', true, "-.--.-"},  {u'（', true, "-.--.-"},
        {u')', true, ".-..-."},   {u'）', true, ".-..-."}, {u'ル', true, "-.--."},
        {u'A', true, ".-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeOfRow(ExamCharacterRow(QChar(c.ch), c.kana)), c.code)
            << QString(QChar(c.ch)).toStdString() << " kana " << c.kana;
    for (char16_t ch : {u'＝', u'＋', u'－'})
        EXPECT_EQ(CharacterListRow(QChar(ch)), 0);
}

TEST(ExamTextReader, VoicedKanaReadAsTheirPlainKanaAndAMark)
{
    const struct {
        char16_t ch;
        char16_t plain;
        VoicingMark mark;
    } cases[] = {
        {u'ガ', u'ｶ', VoicingMark::Dakuten},    {u'ご', u'ｺ', VoicingMark::Dakuten},
        {u'ジ', u'ｼ', VoicingMark::Dakuten},    {u'ぞ', u'ｿ', VoicingMark::Dakuten},
        {u'ヂ', u'ﾁ', VoicingMark::Dakuten},    {u'ど', u'ﾄ', VoicingMark::Dakuten},
        {u'バ', u'ﾊ', VoicingMark::Dakuten},    {u'ぼ', u'ﾎ', VoicingMark::Dakuten},
        {u'パ', u'ﾊ', VoicingMark::Handakuten}, {u'ぽ', u'ﾎ', VoicingMark::Handakuten},
        {u'ヴ', u'ヴ', VoicingMark::None},      {u'ゔ', u'ゔ', VoicingMark::None},
        {u'カ', u'カ', VoicingMark::None},      {u'ｶ', u'ｶ', VoicingMark::None},
    };
    for (const auto& c : cases) {
        const VoicedKanaReading r = ReadVoicedKana(QChar(c.ch));
        EXPECT_EQ(r.plain, QChar(c.plain)) << QString(QChar(c.ch)).toStdString();
        EXPECT_EQ(r.mark, c.mark) << QString(QChar(c.ch)).toStdString();
    }
    EXPECT_EQ(codeOfRow(VoicingMarkRow(VoicingMark::Dakuten)), "..");
    EXPECT_EQ(codeOfRow(VoicingMarkRow(VoicingMark::Handakuten)), "..--.");
    EXPECT_EQ(VoicingMarkRow(VoicingMark::None), 0);
}

TEST(ExamTextReader, BracketWindowsNameFourSignsAndNothingElse)
{
    const struct {
        const char16_t* window;
        BracketSign sign;
        const char* code;
    } cases[] = {
        {u"[ﾎﾚ]", BracketSign::Hore, "-..---"},
        {u"「ホレ」", BracketSign::Hore, "-..---"},
        {u"「ほれ」", BracketSign::Hore, "-..---"},
        {u"[ﾗﾀ]", BracketSign::Rata, "...-."},
        {u"「ラタ」", BracketSign::Rata, "...-."},
        {u"「らた」", BracketSign::Rata, "...-."},
        {u"[BT]", BracketSign::BT, "-...-"},
        {u"[bt]", BracketSign::BT, "-...-"},
        {u"「ＢＴ」", BracketSign::BT, "-...-"},
        {u"「ｂｔ」", BracketSign::BT, "-...-"},
        {u"[AR]", BracketSign::AR, ".-.-."},
        {u"[ar]", BracketSign::AR, ".-.-."},
        {u"「ＡＲ」", BracketSign::AR, ".-.-."},
        {u"「ａｒ」", BracketSign::AR, ".-.-."},
        {u"[Bt]", BracketSign::None, ""},
        {u"[ホレ]", BracketSign::None, ""},
        {u"「ｱｲｳ", BracketSign::None, ""},
        {u"[B", BracketSign::None, ""},
        {u"[", BracketSign::None, ""},
        {u"[BT]X", BracketSign::None, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadBracketToken(c.window), c.sign) << QString::fromUtf16(c.window).toStdString();
        EXPECT_EQ(codeOfRow(BracketSignRow(c.sign)), c.code);
    }
    EXPECT_TRUE(OpensBracket(u'['));
    EXPECT_TRUE(OpensBracket(u'「'));
    EXPECT_FALSE(OpensBracket(u'('));
    EXPECT_TRUE(IsWordSpace(u'　'));
    EXPECT_FALSE(IsWordSpace(u'\t'));
    EXPECT_TRUE(IsLineBreak(u'\r'));
    EXPECT_TRUE(IsLineBreak(u'\n'));
}
