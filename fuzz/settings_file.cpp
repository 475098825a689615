// The settings file as a started program meets it: the start-up load, the alphabet
// switch (a save, then a load of the other alphabet's records) and the save at
// exit.
//
// The input is the file with each record cut to its first 32 bytes: record k's
// window is input bytes (k - 1) x 32 onwards, the rest of the record is zero, and
// the file ends where the input does. Every value sits at the start of its record,
// so mutations land on values rather than on the 2.9 KB of padding behind each;
// only strings longer than 30 bytes are out of reach (their counts are not).
#include "fuzz_target.h"

#include "settings/settings_fixture.h"

#include <algorithm>

namespace {

constexpr int window = 32;

QByteArray settingsFileOf(const QByteArray& input)
{
    QByteArray file;
    const qsizetype records = std::min<qsizetype>((input.size() + window - 1) / window, SettingsRecordCount);
    for (int k = 1; k <= records; ++k) {
        file.resize(SettingsRecordOffset(k), '\0');
        file += input.mid(qsizetype(k - 1) * window, window);
    }
    return file;
}

class StartedProgram : public SettingsFixture {
public:
    void TestBody() override {}

    void run(QByteArray file)
    {
        SetUp();
        struct Down {
            StartedProgram& p;
            ~Down() { p.TearDown(); }
        } down{*this};
        platform::writeWholeFile(settingsPath(), file);
        try {
            FrmMain& f = started();
            f.mnuChange.click();
            f.mnuEnd.click();
        } catch (const ProgramEnded&) {
        }
    }
};

} // namespace

QUENLO_FUZZ_INITIALIZE

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartedProgram().run(settingsFileOf(fuzz::bytes(data, size)));
    return 0;
}
