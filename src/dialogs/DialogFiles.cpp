#include "dialogs/DialogFiles.h"

#include "platform/failure.h"
#include "platform/forms/dialogs.h"
#include "platform/text.h"
#include "settings/SettingsFile.h"

void ShowFileProblem(const QString& text, const QString& title)
{
    forms::MsgBox(text, forms::vbOKOnly | forms::vbCritical, title);
}

bool PathFitsSettings(const QString& path, const QString& title)
{
    const auto bytes = platform::encodeCp932(path);
    if (bytes && bytes->size() <= SettingsMaxStringBytes)
        return true;
    ShowFileProblem(QStringLiteral("このファイル名は登録できません（使えない文字が含まれているか、長すぎます）。\r\n")
                        + path,
                    title);
    return false;
}

bool WriteSettings(const std::function<void(SettingsFile&)>& writes)
{
    try {
        SettingsFile file;
        writes(file);
        return true;
    } catch (const platform::Failure&) {
        ShowFileProblem(QStringLiteral("設定ファイルに書き込めません。\r\n") + SettingsFile::defaultPath(),
                        QStringLiteral("エラー"));
        return false;
    }
}
