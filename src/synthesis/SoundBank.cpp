#include "synthesis/SoundBank.h"

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "practice/frmMain.h"
#include "settings/SharedSettings.h"
#include "synthesis/CharacterWaves.h"
#include "synthesis/Delay.h"
#include "synthesis/MorseCodeTable.h"
#include "synthesis/frmExchangeProgress.h"
#include "practice/RunState.h"

#include <deque>
#include <utility>
#include <vector>

using platform::ignoreErrors;

std::array<QByteArray, 49> LatinCharWave;
std::array<QByteArray, 69> KanaCharWave;
QString SoundBankSpeedText;
QString SoundBankFreqText;

namespace {
// What the bank holds beyond the remembered speed and tone: switching the alphabet
// while Beep is chosen must not leave Wave playing the other alphabet's images. A
// change of sample rate alone calls for no rebuild: every image carries its own
// rate, so the bank goes on sounding right.
std::int16_t bankAlphabet = 1; // neither -1 nor 0: never built
bool building = false;
std::deque<std::function<void()>> afterBuilt; // presses that wait for the bank, oldest first
int holds = 0;            // WaitingPressesHold alive, and the press being taken up
bool takeUpPosted = false; // the next press's turn is on the event loop

struct Entry {
    int row;          // MorseCodeTable row that sounds it
    QByteArray* image; // where its image goes
};

std::vector<Entry> latinPass()
{
    std::vector<Entry> pass;
    for (int i = 1; i <= 48; ++i)
        pass.push_back({MorseRowOfLatin(i), &LatinCharWave[i]});
    return pass;
}

// Kana 1..50, then the marks and signs 61..68, then the digits 51..60, then H and R
// for the start signal.
std::vector<Entry> kanaPass()
{
    std::vector<Entry> pass;
    auto add = [&](int from, int to) {
        for (int k = from; k <= to; ++k)
            pass.push_back({MorseRowOfKana(k), &KanaCharWave[k]});
    };
    add(1, 50);
    add(61, 68);
    add(51, 60);
    pass.push_back({MorseRowOfLatin(8), &LatinCharWave[8]});
    pass.push_back({MorseRowOfLatin(18), &LatinCharWave[18]});
    return pass;
}

} // namespace

int SoundBankProgressAfter(int i, int n)
{
    if (i == n)
        return 10;
    for (int k = 9; k >= 1; --k)
        if (10 * i >= k * n)
            return k;
    return 0;
}

namespace {
void rebuildEntry(const Entry& e, std::int16_t unit, std::int16_t toneHz, std::int32_t sampleRate)
{
    // Built once: the same bytes go to the file and into the bank. When the folder
    // cannot be written the bank still gets them (and the writer's wait is skipped).
    QByteArray built;
    ignoreErrors([&] { WriteCharacterWave(e.row, unit, toneHz, sampleRate, built); });
    if (!built.isEmpty()) {
        *e.image = built;
        return;
    }
    // Synthesis refused (its limits): an older file is better than nothing.
    QByteArray file;
    if (ignoreErrors([&] { file = platform::readWholeFile(CharacterWavePath(e.row)); })
        && !file.isEmpty())
        *e.image = file;
}
} // namespace

bool SoundBankBuilding() { return building; }

void AfterSoundBankBuilt(std::function<void()> fn) { afterBuilt.push_back(std::move(fn)); }

namespace {
// Gives the oldest waiting press its turn as a fresh event, once nothing holds the
// presses: the next one follows when it has returned.
void postNextPress()
{
    if (takeUpPosted || building || holds > 0 || afterBuilt.empty())
        return;
    takeUpPosted = true;
    platform::clock().callAfter(0, [] {
        takeUpPosted = false;
        // A rebuild or a repetition begun since goes first; its end posts again.
        if (building || holds > 0 || afterBuilt.empty())
            return;
        std::function<void()> fn = std::move(afterBuilt.front());
        afterBuilt.pop_front();
        {
            WaitingPressesHold taken;
            fn();
        }
    });
}
} // namespace

void DropWaitingPresses() { afterBuilt.clear(); }

WaitingPressesHold::WaitingPressesHold() { ++holds; }

WaitingPressesHold::~WaitingPressesHold()
{
    if (--holds == 0)
        postNextPress();
}

bool SoundBankHoldsAlphabet()
{
    return bankAlphabet == AlphabetIsLatin;
}

void BuildSoundBank(const QString& speedText, std::int16_t toneHz, std::int32_t sampleRate)
{
    // A rebuild never starts inside another one's waits.
    if (building)
        return;
    if (!frmMain().mnuSoundWave.checked())
        return;
    const std::int16_t unit = ComputeUnitMs(speedText); // this rebuild's own unit
    UnitMs = unit;
    building = true;
    struct Done {
        bool built = false;
        ~Done()
        {
            building = false;
            if (!built)
                afterBuilt.clear(); // a rebuild cut short by an exception hands on nothing
            // Taken up as fresh events, after this rebuild's caller has gone on.
            postNextPress();
        }
    } done;

    ignoreErrors([] {
        FrmExchangeProgress& p = frmExchangeProgress();
        p.centerOn(frmMain());
    });
    ignoreErrors([] { frmExchangeProgress().show(); });
    ignoreErrors([] { frmExchangeProgress().setCaption(QStringLiteral("読み込み中...")); });
    ignoreErrors([] { frmExchangeProgress().paintNow(); });

    const std::int16_t alphabet = AlphabetIsLatin;
    std::vector<Entry> pass;
    if (alphabet == -1)
        pass = latinPass();
    else if (alphabet == 0)
        pass = kanaPass();
    const int n = static_cast<int>(pass.size());
    for (int i = 1; i <= n; ++i) {
        rebuildEntry(pass[i - 1], unit, toneHz, sampleRate);
        if (int k = SoundBankProgressAfter(i, n))
            ignoreErrors([&] {
                frmExchangeProgress().progressBarExchange.setValue(static_cast<float>(k));
                frmExchangeProgress().paintNow();
            });
    }

    SoundBankSpeedText = speedText;
    SoundBankFreqText = platform::numberText(toneHz);
    bankAlphabet = alphabet;
    ignoreErrors([] { frmExchangeProgress.unload(); });
    done.built = true;
}
