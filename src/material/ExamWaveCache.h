#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

// The cache key of the recordings of the registered exam texts: per alphabet and
// slot 0..9, the automatic start/end flag, the tone and the speed the slot's WAV
// file was built with. The text itself, the sample rate, the tone quality, the
// volume and the code interval are not part of it.

// A tagged value of the settings file: empty, or a 16-bit integer.
using ExamWaveTagged = std::optional<std::int16_t>;

// The keys of the alphabet in use as the exam-text dialog loaded them and the
// compiler last wrote them.
extern std::array<std::int16_t, 10> LatinExamWaveStartEnd;
extern std::array<ExamWaveTagged, 10> LatinExamWaveFreq;
extern std::array<ExamWaveTagged, 10> LatinExamWaveSpeed;
extern std::array<std::int16_t, 10> KanaExamWaveStartEnd;
extern std::array<ExamWaveTagged, 10> KanaExamWaveFreq;
extern std::array<ExamWaveTagged, 10> KanaExamWaveSpeed;

// -1: the start and end signs are put around a registered exam text (the
// exam-text dialog's check box, settings records 73 / 133).
extern std::int16_t LatinAutoStartEnd;
extern std::int16_t KanaAutoStartEnd;

struct ExamWaveKey {
    std::int16_t startEnd = 0;
    ExamWaveTagged freq;
    ExamWaveTagged speed;
    bool operator==(const ExamWaveKey&) const = default;
};

// Settings records of a slot's key: the flag (16-bit integer), the tone and the
// speed (tagged values); alphabet -1 Latin, 0 kana.
struct ExamWaveKeyRecords {
    int startEnd, freq, speed;
};
ExamWaveKeyRecords ExamWaveKeyRecordsOf(std::int16_t alphabet, int slot);

// Where the keys are kept between runs: the settings file. Reads and writes
// throw platform::Failure when the file cannot be used.
class ExamWaveKeyStore {
public:
    virtual ~ExamWaveKeyStore() = default;
    virtual ExamWaveKey read(std::int16_t alphabet, int slot) = 0;
    virtual void write(std::int16_t alphabet, int slot, const ExamWaveKey& key) = 0;
};

// Keeps the keys in memory only (until the settings file is connected, and in tests).
class InMemoryExamWaveKeyStore : public ExamWaveKeyStore {
public:
    ExamWaveKey read(std::int16_t alphabet, int slot) override;
    void write(std::int16_t alphabet, int slot, const ExamWaveKey& key) override;

private:
    std::array<ExamWaveKey, 10> latin_{}, kana_{};
};

// The store in use; an in-memory one until another is installed.
ExamWaveKeyStore& examWaveKeyStore();
void setExamWaveKeyStore(std::unique_ptr<ExamWaveKeyStore> store);

// Fills the arrays of the alphabet from the store (the exam-text dialog's load).
// A slot whose records cannot be read keeps what it held.
void LoadExamWaveKeys(std::int16_t alphabet);

// The key of a slot of the alphabet as held in the arrays; empty for another
// alphabet value or slot.
ExamWaveKey ExamWaveKeyOf(std::int16_t alphabet, int slot);
// A key only ever describes the recording that is there. Before a slot's
// recording is replaced, its tone and speed are emptied in the arrays and then in
// the store (an empty tone or speed matches nothing); false when the store could
// not be written, and the old recording must then stay as it is.
bool ForgetExamWaveKey(std::int16_t alphabet, int slot);
// After the new recording is written: stores the slot's key in the store and then
// in the arrays. A store that fails (Failure) leaves the arrays as they were.
// The store writes the tone and speed after the flag, so a key stored part-way
// keeps an empty value and matches nothing.
void StoreExamWaveKey(std::int16_t alphabet, int slot, const ExamWaveKey& key);
