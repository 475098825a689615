#pragma once
#include <QString>
#include <cstdint>

// The draws behind the random pickers. Every draw reseeds the one generator
// first (from the clock, then from a drawn number 1..1000) and takes one fresh r.

// A fresh r after the pickers' reseeding.
float ReseededDraw();

// LatinCharTable index 1..48 drawn from the range with picker name rangeName
// ("Limit_AtoE" .. "Limit_User"); 0 for a name that is no range.
int DrawLatinIndex(const QString& rangeName);
// KanaCharTable index 1..68 drawn from kana range 1..18; 0 outside. The Beep road
// leaves ラタ out of range 16.
int DrawKanaIndex(int range, bool beepRoad);

// The thirteen picker names in range-table order.
extern const char* const LatinRangeNames[13];

// Draws a Latin character without sounding it (the exam text): index 48 reads as "訂".
QString PickRandomLatin(const QString& rangeName);
