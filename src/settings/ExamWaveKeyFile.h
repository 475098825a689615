#pragma once
#include "material/ExamWaveCache.h"

// The exam recordings' cache keys kept in saveset.dat, so that a registered exam
// text's recording is reused after a restart.
class SettingsExamWaveKeyStore : public ExamWaveKeyStore {
public:
    ExamWaveKey read(std::int16_t alphabet, int slot) override;
    void write(std::int16_t alphabet, int slot, const ExamWaveKey& key) override;
};
