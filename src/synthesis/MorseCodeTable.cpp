#include "synthesis/MorseCodeTable.h"

#include "platform/failure.h"

#include <array>

namespace {

constexpr MorseRow rows[] = {
    {u"A", ".-", 5, 1, 2, "A"},
    {u"B", "-...", 9, 2, 26, "B"},
    {u"C", "-.-.", 11, 3, 22, "C"},
    {u"D", "-..", 7, 4, 30, "D"},
    {u"E", ".", 1, 5, 29, "E"},
    {u"F", "..-.", 9, 6, 17, "F"},
    {u"G", "--.", 9, 7, 42, "G"},
    {u"H", "....", 7, 8, 23, "H"},
    {u"I", "..", 3, 9, 49, "I"},
    {u"J", ".---", 13, 10, 47, "J"},
    {u"K", "-.-", 9, 11, 46, "K"},
    {u"L", ".-..", 9, 12, 6, "L"},
    {u"M", "--", 7, 13, 40, "M"},
    {u"N", "-.", 5, 14, 16, "N"},
    {u"O", "---", 11, 15, 44, "O"},
    {u"P", ".--.", 11, 16, 18, "P"},
    {u"Q", "--.-", 13, 17, 24, "Q"},
    {u"R", ".-.", 7, 18, 21, "R"},
    {u"S", "...", 5, 19, 41, "S"},
    {u"T", "-", 3, 20, 33, "T"},
    {u"U", "..-", 7, 21, 3, "U"},
    {u"V", "...-", 9, 22, 8, "V"},
    {u"W", ".--", 9, 23, 36, "W"},
    {u"X", "-..-", 11, 24, 31, "X"},
    {u"Y", "-.--", 13, 25, 9, "Y"},
    {u"Z", "--..", 11, 26, 28, "Z"},
    {u"1", ".----", 17, 27, 51, "1"},
    {u"2", "..---", 15, 28, 52, "2"},
    {u"3", "...--", 13, 29, 53, "3"},
    {u"4", "....-", 11, 30, 54, "4"},
    {u"5", ".....", 9, 31, 55, "5"},
    {u"6", "-....", 11, 32, 56, "6"},
    {u"7", "--...", 13, 33, 57, "7"},
    {u"8", "---..", 15, 34, 58, "8"},
    {u"9", "----.", 17, 35, 59, "9"},
    {u"0", "-----", 19, 36, 60, "0"},
    {u".", ".-.-.-", 17, 37, 62, "EP"},
    {u",", "--..--", 19, 38, 0, "SR"},
    {u"?", "..--..", 15, 39, 66, "QS"},
    {u"/", "-..-.", 13, 40, 35, "SL"},
    {u"(", "-.--.", 15, 41, 43, "HidariKakko"},
    {u")", "-.--.-", 19, 42, 64, "MigiKakko"},
    {u"=", "-...-", 13, 43, 34, "BT"},
    {u"+", ".-.-.", 13, 44, 48, "AR"},
    {u"-", "-....-", 15, 45, 0, "Minus"},
    {u"'", ".----.", 19, 46, 0, "Ryakuhu"},
    {u"\"", ".-..-.", 15, 47, 65, "Inyouhu"},
    {u"訂正", "........", 15, 48, 0, "HH"},
    {u"ア", "--.--", 17, 0, 1, "hore_a"},
    {u"エ", "-.---", 17, 0, 4, "hore_e"},
    {u"オ", ".-...", 11, 0, 5, "hore_o"},
    {u"キ", "-.-..", 13, 0, 7, "hore_ki"},
    {u"コ", "----", 15, 0, 10, "hore_ko"},
    {u"サ", "-.-.-", 15, 0, 11, "hore_sa"},
    {u"シ", "--.-.", 15, 0, 12, "hore_si"},
    {u"ス", "---.-", 17, 0, 13, "hore_su"},
    {u"セ", ".---.", 15, 0, 14, "hore_se"},
    {u"ソ", "---.", 13, 0, 15, "hore_so"},
    {u"テ", ".-.--", 15, 0, 19, "hore_te"},
    {u"ト", "..-..", 11, 0, 20, "hore_to"},
    {u"ノ", "..--", 11, 0, 25, "hore_no"},
    {u"ヒ", "--..-", 15, 0, 27, "hore_hi"},
    {u"ミ", "..-.-", 13, 0, 32, "hore_mi"},
    {u"ヰ", ".-..-", 13, 0, 37, "hore_idono_i"},
    {u"ユ", "-..--", 15, 0, 38, "hore_yu"},
    {u"ヱ", ".--..", 13, 0, 39, "hore_kagi_e"},
    {u"ロ", ".-.-", 11, 0, 45, "hore_ro"},
    {u"ﾟ", "..--.", 13, 0, 50, "hore_handakuten"},
    {u"ー", ".--.-", 15, 0, 61, "hore_chouon"},
    {u"」", ".-.-..", 15, 0, 63, "hore_danraku"},
    {u"ホレ", "-..---", 19, 0, 67, "hore"},
    {u"ラタ", "...-.", 11, 0, 68, "rata"},
};
static_assert(std::size(rows) == 72);

constexpr int latinCount = 48;
constexpr int kanaCount = 68;

struct KanaRows {
    std::array<int, kanaCount + 1> row{};
    constexpr KanaRows()
    {
        for (int r = 0; r < static_cast<int>(std::size(rows)); ++r)
            if (rows[r].kanaIndex > 0)
                row[rows[r].kanaIndex] = r + 1;
    }
};
constexpr KanaRows kanaRows;

} // namespace

std::span<const MorseRow> MorseCodeTable() { return rows; }

int MorseRowOfLatin(int latinIndex)
{
    return latinIndex >= 1 && latinIndex <= latinCount ? latinIndex : 0;
}

int MorseRowOfKana(int kanaIndex)
{
    return kanaIndex >= 1 && kanaIndex <= kanaCount ? kanaRows.row[kanaIndex] : 0;
}

const MorseRow& MorseRowAt(int row)
{
    if (row < 1 || row > static_cast<int>(std::size(rows)))
        throw platform::Failure(QStringLiteral("no Morse code row %1").arg(row));
    return rows[row - 1];
}
