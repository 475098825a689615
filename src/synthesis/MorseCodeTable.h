#pragma once
#include <QString>
#include <span>

// The Morse code of every character and procedure sign the trainer sends: 72
// codes, the 48 Latin ones first in LatinCharTable order, then the 24 that only
// kana use. The WAV writers, Beep routines and exam sample builders are each one
// routine that takes a row of this table.
struct MorseRow {
    const char16_t* key;  // the character or sign that names the row
    const char* code;     // dots and dashes in sending order
    int n;                // length in units, first element start to last element end
    int latinIndex;       // LatinCharTable index 1..48, or 0
    int kanaIndex;        // KanaCharTable index 1..68, or 0
    const char* stem;     // character WAV file name without ".wav"
};

std::span<const MorseRow> MorseCodeTable();

// Row number 1..72 of a Latin index 1..48 or a kana index 1..68; 0 outside.
int MorseRowOfLatin(int latinIndex);
int MorseRowOfKana(int kanaIndex);
// The row itself; the index must name a row.
const MorseRow& MorseRowAt(int row);
