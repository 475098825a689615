#include "material/ExamWaveCache.h"

#include "platform/failure.h"
#include "settings/SettingsRecords.h"

std::array<std::int16_t, 10> LatinExamWaveStartEnd{};
std::array<ExamWaveTagged, 10> LatinExamWaveFreq{};
std::array<ExamWaveTagged, 10> LatinExamWaveSpeed{};
std::array<std::int16_t, 10> KanaExamWaveStartEnd{};
std::array<ExamWaveTagged, 10> KanaExamWaveFreq{};
std::array<ExamWaveTagged, 10> KanaExamWaveSpeed{};
std::int16_t LatinAutoStartEnd = 0;
std::int16_t KanaAutoStartEnd = 0;

namespace {

std::unique_ptr<ExamWaveKeyStore>& storeSlot()
{
    static std::unique_ptr<ExamWaveKeyStore> store = std::make_unique<InMemoryExamWaveKeyStore>();
    return store;
}

bool isSlot(int slot) { return slot >= 0 && slot <= 9; }

void checkSlot(std::int16_t alphabet, int slot)
{
    if ((alphabet != -1 && alphabet != 0) || !isSlot(slot))
        throw platform::Failure(
            QStringLiteral("no exam wave key for alphabet %1, slot %2").arg(alphabet).arg(slot));
}

} // namespace

ExamWaveKeyRecords ExamWaveKeyRecordsOf(std::int16_t alphabet, int slot)
{
    checkSlot(alphabet, slot);
    const AlphabetRecords& r = RecordsOf(alphabet);
    return {r.firstWaveStartEnd + slot, r.firstWaveFreq + slot, r.firstWaveSpeed + slot};
}

ExamWaveKey InMemoryExamWaveKeyStore::read(std::int16_t alphabet, int slot)
{
    checkSlot(alphabet, slot);
    return (alphabet == -1 ? latin_ : kana_)[slot];
}

void InMemoryExamWaveKeyStore::write(std::int16_t alphabet, int slot, const ExamWaveKey& key)
{
    checkSlot(alphabet, slot);
    (alphabet == -1 ? latin_ : kana_)[slot] = key;
}

ExamWaveKeyStore& examWaveKeyStore() { return *storeSlot(); }

void setExamWaveKeyStore(std::unique_ptr<ExamWaveKeyStore> store)
{
    storeSlot() = store ? std::move(store) : std::make_unique<InMemoryExamWaveKeyStore>();
}

namespace {
struct KeyArrays {
    std::array<std::int16_t, 10>& startEnd;
    std::array<ExamWaveTagged, 10>& freq;
    std::array<ExamWaveTagged, 10>& speed;
};

KeyArrays arraysOf(std::int16_t alphabet)
{
    if (alphabet == -1)
        return {LatinExamWaveStartEnd, LatinExamWaveFreq, LatinExamWaveSpeed};
    return {KanaExamWaveStartEnd, KanaExamWaveFreq, KanaExamWaveSpeed};
}
} // namespace

void LoadExamWaveKeys(std::int16_t alphabet)
{
    if (alphabet != -1 && alphabet != 0)
        return;
    const KeyArrays a = arraysOf(alphabet);
    for (int slot = 0; slot <= 9; ++slot)
        platform::ignoreErrors([&] {
            const ExamWaveKey key = examWaveKeyStore().read(alphabet, slot);
            a.startEnd[slot] = key.startEnd;
            a.freq[slot] = key.freq;
            a.speed[slot] = key.speed;
        });
}

ExamWaveKey ExamWaveKeyOf(std::int16_t alphabet, int slot)
{
    if ((alphabet != -1 && alphabet != 0) || !isSlot(slot))
        return {};
    const KeyArrays a = arraysOf(alphabet);
    return {a.startEnd[slot], a.freq[slot], a.speed[slot]};
}

bool ForgetExamWaveKey(std::int16_t alphabet, int slot)
{
    checkSlot(alphabet, slot);
    const KeyArrays a = arraysOf(alphabet);
    a.freq[slot].reset();
    a.speed[slot].reset();
    // The flag is written back as it is, so no part of the old key changes but
    // the values that are emptied.
    return platform::ignoreErrors(
        [&] { examWaveKeyStore().write(alphabet, slot, {a.startEnd[slot], std::nullopt, std::nullopt}); });
}

void StoreExamWaveKey(std::int16_t alphabet, int slot, const ExamWaveKey& key)
{
    checkSlot(alphabet, slot);
    examWaveKeyStore().write(alphabet, slot, key);
    const KeyArrays a = arraysOf(alphabet);
    a.startEnd[slot] = key.startEnd;
    a.freq[slot] = key.freq;
    a.speed[slot] = key.speed;
}
