// Keys typed in the kana alphabet, where the romaji reader takes them: in the code
// check, answering an open question, or marking kana while idle (the first input
// byte picks which). The rest is the key sequence: a byte below 0x80 is that key
// code, a higher byte and the next one are a 16-bit code (what a double-byte
// character delivers). Virtual time moves on 30 ms after each key. The program
// starts in the kana alphabet with Beep sound, so no sound bank is built: a start
// then takes a fraction of the time, and the keys are what is fuzzed.
#include "fuzz_target.h"

#include "answer/keyboard_fixture.h"
#include "platform/files.h"
#include "settings/FirstRunSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecords.h"

namespace {

class KanaKeyboard : public KeyboardFixture {
public:
    void TestBody() override {}

    void run(const QByteArray& input)
    {
        SetUp();
        struct Down {
            KanaKeyboard& p;
            ~Down() { p.TearDown(); }
        } down{*this};
        if (input.isEmpty())
            return;
        platform::writeWholeFile(SettingsFile::defaultPath(), FirstRunSettingsImage());
        {
            SettingsFile settings;
            settings.writeInt16(SharedRecord::Alphabet, 0); // the kana alphabet in use
            settings.writeString(SharedRecord::SoundMode, QStringLiteral("BEEP"));
        }
        try {
            FrmMain& f = shown();
            f.checkTypeKey.setValue(1);
            switch (static_cast<unsigned char>(input[0]) % 3) {
            case 0:
                f.optionKakuninMode.click();
                break;
            case 1:
                receiveRun(f);
                openQuestion(f, QStringLiteral("カ"));
                break;
            default:
                f.optionKikitoriMode.click();
                break;
            }
            for (qsizetype i = 1; i < input.size() && f.isLoaded(); ++i) {
                const auto b = static_cast<unsigned char>(input[i]);
                int key = b;
                if (b >= 0x80 && i + 1 < input.size())
                    key = static_cast<std::int16_t>((b << 8) | static_cast<unsigned char>(input[++i]));
                f.Form_KeyPress(key);
                clock().advance(30);
            }
        } catch (const ProgramEnded&) {
        }
    }
};

} // namespace

QUENLO_FUZZ_INITIALIZE

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KanaKeyboard().run(fuzz::bytes(data, size));
    return 0;
}
