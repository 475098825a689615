#pragma once
#include <QString>
#include <array>

// The character ranges of the two range menus. A range is at most two spans of
// table indices; its keys are the answer keys it enables in a range mode.

struct IndexSpan {
    int first = 0;
    int last = -1; // an empty span by default
};

struct LatinRange {
    const char* savedKey; // settings record 11
    const char* rangeName; // handed to the Latin pickers
    std::array<IndexSpan, 2> keys; // LatinCharTable indices
};

struct KanaRange {
    std::array<IndexSpan, 2> keys; // KanaCharTable indices
    const char16_t* dakutenCaption; // offered voiced-kana box, nullptr for none
};

constexpr int LatinRangeCount = 13;
constexpr int KanaRangeCount = 18;
// The user-chosen set is the last row of each table.
constexpr int LatinUserRangeRow = 13;
constexpr int KanaUserRangeRow = 18;

// Rows 1..13 and 1..18 in menu order; row 0 is unused.
extern const std::array<LatinRange, LatinRangeCount + 1> LatinRangeTable;
extern const std::array<KanaRange, KanaRangeCount + 1> KanaRangeTable;

// Whether the key of table index i belongs to the row's key set; false for a row
// outside the table.
bool LatinRangeHasKey(int row, int i);
bool KanaRangeHasKey(int row, int i);

// The first checked row of the Latin range menu, 0 when none is checked.
int CheckedLatinRangeRow();
