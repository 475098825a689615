#include "material/ExamSampleBuilders.h"

#include "platform/failure.h"
#include "synthesis/CharacterWaves.h"
#include "synthesis/MorseCodeTable.h"

#include <iterator>

SampleBuffer ExamSamples;
SampleBuffer ExamCharSamples;
std::int16_t TextCharPos = 0;

namespace {

struct Builder {
    const char* name;
    const char16_t* key; // the MorseCodeTable row it builds
};

constexpr Builder builders[] = {
    {"BuildSamplesLetterA", u"A"},         {"BuildSamplesLetterB", u"B"},
    {"BuildSamplesLetterC", u"C"},         {"BuildSamplesLetterD", u"D"},
    {"BuildSamplesLetterE", u"E"},         {"BuildSamplesLetterF", u"F"},
    {"BuildSamplesLetterG", u"G"},         {"BuildSamplesLetterH", u"H"},
    {"BuildSamplesLetterI", u"I"},         {"BuildSamplesLetterJ", u"J"},
    {"BuildSamplesLetterK", u"K"},         {"BuildSamplesLetterL", u"L"},
    {"BuildSamplesLetterM", u"M"},         {"BuildSamplesLetterN", u"N"},
    {"BuildSamplesLetterO", u"O"},         {"BuildSamplesLetterP", u"P"},
    {"BuildSamplesLetterQ", u"Q"},         {"BuildSamplesLetterR", u"R"},
    {"BuildSamplesLetterS", u"S"},         {"BuildSamplesLetterT", u"T"},
    {"BuildSamplesLetterU", u"U"},         {"BuildSamplesLetterV", u"V"},
    {"BuildSamplesLetterW", u"W"},         {"BuildSamplesLetterX", u"X"},
    {"BuildSamplesLetterY", u"Y"},         {"BuildSamplesLetterZ", u"Z"},
    {"BuildSamplesDigit1", u"1"},          {"BuildSamplesDigit2", u"2"},
    {"BuildSamplesDigit3", u"3"},          {"BuildSamplesDigit4", u"4"},
    {"BuildSamplesDigit5", u"5"},          {"BuildSamplesDigit6", u"6"},
    {"BuildSamplesDigit7", u"7"},          {"BuildSamplesDigit8", u"8"},
    {"BuildSamplesDigit9", u"9"},          {"BuildSamplesDigit0", u"0"},
    {"BuildSamplesPeriod", u"."},          {"BuildSamplesComma", u","},
    {"BuildSamplesQuestion", u"?"},        {"BuildSamplesApostrophe", u"'"},
    {"BuildSamplesMinus", u"-"},           {"BuildSamplesSlash", u"/"},
    {"BuildSamplesLeftParen", u"("},       {"BuildSamplesRightParen", u")"},
    {"BuildSamplesQuote", u"\""},          {"BuildSamplesBT", u"="},
    {"BuildSamplesAR", u"+"},              {"BuildSamplesHH", u"訂正"},
    {"BuildSamplesHore", u"ホレ"},         {"BuildSamplesRata", u"ラタ"},
    {"BuildSamplesKanaRo", u"ロ"},         {"BuildSamplesKanaTo", u"ト"},
    {"BuildSamplesKanaRu", u"("},          {"BuildSamplesKanaSo", u"ソ"},
    {"BuildSamplesKanaNo", u"ノ"},         {"BuildSamplesKanaO", u"オ"},
    {"BuildSamplesKanaKo", u"コ"},         {"BuildSamplesKanaE", u"エ"},
    {"BuildSamplesKanaTe", u"テ"},         {"BuildSamplesKanaA", u"ア"},
    {"BuildSamplesKanaSa", u"サ"},         {"BuildSamplesKanaKi", u"キ"},
    {"BuildSamplesKanaWe", u"ヱ"},         {"BuildSamplesKanaYu", u"ユ"},
    {"BuildSamplesKanaWi", u"ヰ"},         {"BuildSamplesKanaMi", u"ミ"},
    {"BuildSamplesKanaSi", u"シ"},         {"BuildSamplesKanaHi", u"ヒ"},
    {"BuildSamplesKanaSe", u"セ"},         {"BuildSamplesKanaSu", u"ス"},
    {"BuildSamplesHandakuten", u"ﾟ"},      {"BuildSamplesChouon", u"ー"},
    {"BuildSamplesDanraku", u"」"},
};
static_assert(std::size(builders) == ExamSampleBuilderCount);

const Builder& builderAt(int builder)
{
    if (builder < 1 || builder > ExamSampleBuilderCount)
        throw platform::Failure(QStringLiteral("no exam sample builder %1").arg(builder));
    return builders[builder - 1];
}

} // namespace

int MorseRowOfKey(QStringView key)
{
    const auto table = MorseCodeTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (key == QStringView(table[i].key))
            return static_cast<int>(i) + 1;
    return 0;
}

void BuildExamSamples(int row, std::int16_t unitMs, std::int16_t toneHz, std::int32_t sampleRate)
{
    SampleBuffer& character = BuildCharacterSamples(row, unitMs, toneHz, sampleRate);
    // Wide: two units of a long unit pass the 16-bit range.
    PadSilence(character, sampleRate, 2.0 * unitMs, 0);
    if (TextCharPos == 1)
        ExamSamples = character;
    else if (TextCharPos >= 2)
        ExamCharSamples = character;
}

void AppendWordGap(std::int16_t unitMs, std::int32_t sampleRate)
{
    PadSilence(ExamSamples, sampleRate, 0, 4.0 * unitMs);
}

const char* ExamSampleBuilderName(int builder) { return builderAt(builder).name; }

int ExamSampleBuilderRow(int builder) { return MorseRowOfKey(builderAt(builder).key); }

int ExamSampleBuilderRowOf(QStringView name)
{
    for (int b = 1; b <= ExamSampleBuilderCount; ++b)
        if (name == QLatin1String(builders[b - 1].name))
            return ExamSampleBuilderRow(b);
    return 0;
}
