#include "settings/ExamWaveKeyFile.h"

#include "settings/SettingsFile.h"

ExamWaveKey SettingsExamWaveKeyStore::read(std::int16_t alphabet, int slot)
{
    const ExamWaveKeyRecords r = ExamWaveKeyRecordsOf(alphabet, slot);
    SettingsFile file;
    ExamWaveKey key;
    key.startEnd = file.readInt16(r.startEnd);
    key.freq = file.readTagged(r.freq);
    key.speed = file.readTagged(r.speed);
    return key;
}

void SettingsExamWaveKeyStore::write(std::int16_t alphabet, int slot, const ExamWaveKey& key)
{
    const ExamWaveKeyRecords r = ExamWaveKeyRecordsOf(alphabet, slot);
    SettingsFile file;
    file.writeInt16(r.startEnd, key.startEnd);
    file.writeTagged(r.freq, key.freq);
    file.writeTagged(r.speed, key.speed);
}
