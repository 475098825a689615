#include "platform/forms/dialogs.h"

#include "platform/clock.h"
#include "platform/forms/detail.h"
#include "platform/forms/window_system.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <deque>

namespace forms {

namespace {
    bool scriptedFlag = false;
    std::deque<int> answers;
    std::deque<QString> files;
    std::vector<MsgBoxRecord> messageLog;
    std::vector<FileOpenRequest> fileLog;

    // The buttons of each button set, in the order shown (the first is the default).
    std::vector<int> buttonSet(int flags)
    {
        switch (flags & 7) {
        case vbOKCancel:
            return { vbOK, vbCancel };
        case 2:
            return { 3, 4, 5 }; // abort, retry, ignore
        case 3:
            return { vbYes, vbNo, vbCancel };
        case vbYesNo:
            return { vbYes, vbNo };
        case 5:
            return { 4, vbCancel }; // retry, cancel
        default:
            return { vbOK };
        }
    }

    QMessageBox::StandardButton qtButton(int vb)
    {
        switch (vb) {
        case vbOK:
            return QMessageBox::Ok;
        case vbCancel:
            return QMessageBox::Cancel;
        case 3:
            return QMessageBox::Abort;
        case 4:
            return QMessageBox::Retry;
        case 5:
            return QMessageBox::Ignore;
        case vbYes:
            return QMessageBox::Yes;
        case vbNo:
            return QMessageBox::No;
        default:
            return QMessageBox::NoButton;
        }
    }

    // A message box sets its own fixed size at each show and layout request. Where the
    // compositor sizes windows that size is its least one (see compositorSizesWindows),
    // and a maximised or full-screen box skips it: its resize would break the protocol.
    class MessageBox : public QMessageBox {
    protected:
        bool event(QEvent* e) override
        {
            if (!compositorSizesWindows())
                return QMessageBox::event(e);
            if (e->type() == QEvent::LayoutRequest && detail::compositorSized(this))
                return QDialog::event(e);
            bool done = QMessageBox::event(e);
            if (maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
                detail::leastSize(this, minimumSize());
            return done;
        }
    };

    // A dialog run as a nested loop on the clock's yield, so timers keep ticking. It
    // belongs to the form it is shown over, as a modal form does.
    void runNested(QDialog& d)
    {
        detail::pushModal(nullptr);
        d.winId();
        if (QWindow* w = d.windowHandle()) {
            Form* owner = Form::dialogOwner(nullptr);
            w->setTransientParent(owner ? owner->window()->windowHandle() : nullptr);
        }
        d.setWindowModality(Qt::ApplicationModal);
        d.show();
        d.raise();
        d.activateWindow();
        try {
            detail::KeyboardScope::Aside ownInput;
            while (d.isVisible())
                platform::clock().yield();
        } catch (...) {
            detail::popModal(nullptr);
            throw;
        }
        detail::popModal(nullptr);
    }

    int realMsgBox(const QString& prompt, int flags, const QString& title)
    {
        MessageBox box;
        box.setText(prompt);
        box.setTextFormat(Qt::PlainText);
        box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
        switch (flags & 0x70) {
        case vbCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case vbQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case vbExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case vbInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        std::vector<int> set = buttonSet(flags);
        std::vector<std::pair<QAbstractButton*, int>> buttons;
        for (int vb : set)
            buttons.emplace_back(box.addButton(qtButton(vb)), vb);
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front().first));
        // Esc answers Cancel or, in an OK-only box, OK; a Yes/No box needs an answer.
        for (auto& [button, vb] : buttons)
            if (vb == vbCancel || (set.size() == 1 && vb == vbOK))
                box.setEscapeButton(button);
        if (flags & vbSystemModal)
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        runNested(box);
        for (auto& [button, vb] : buttons)
            if (box.clickedButton() == button)
                return vb;
        return set.size() == 1 ? vbOK : vbCancel;
    }

    QStringList qtFilters(const QString& filter)
    {
        QStringList parts = filter.split(QChar('|'));
        QStringList out;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            QString desc = parts[i], pattern = parts[i + 1];
            QString spaced = QString(pattern).replace(QChar(';'), QChar(' '));
            if (desc.contains(QStringLiteral("(") + pattern + QStringLiteral(")")))
                out << desc.replace(QStringLiteral("(") + pattern + QStringLiteral(")"), QStringLiteral("(") + spaced + QStringLiteral(")"));
            else
                out << desc + QStringLiteral(" (") + spaced + QStringLiteral(")");
        }
        return out;
    }

    QString withDefaultExt(const QString& path, const QString& ext)
    {
        if (ext.isEmpty() || QFileInfo(path).fileName().contains(QChar('.')))
            return path;
        return path + QChar('.') + ext;
    }

    FileOpenResult chosen(const QString& path)
    {
        FileOpenResult r;
        r.cancelled = false;
        QFileInfo info(path);
        r.path = info.absoluteFilePath();
        r.fileTitle = info.fileName();
        return r;
    }

    FileOpenResult realFileOpen(const FileOpenRequest& q)
    {
        QString folder = QFileInfo(q.initialDir).isDir() ? q.initialDir : QDir::homePath();
        for (;;) {
            QFileDialog d(nullptr, q.title, folder);
            d.setOption(QFileDialog::DontUseNativeDialog);
            d.setAcceptMode(QFileDialog::AcceptOpen);
            d.setFileMode(q.createPrompt ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
            d.setNameFilters(qtFilters(q.filter));
            d.setDefaultSuffix(q.defaultExt);
            runNested(d);
            if (d.result() != QDialog::Accepted || d.selectedFiles().isEmpty())
                return {};
            QString path = withDefaultExt(d.selectedFiles().first(), q.defaultExt);
            QFileInfo info(path);
            if (info.isFile())
                return chosen(path);
            folder = info.absolutePath();
            if (!q.createPrompt || !QFileInfo(folder).isDir())
                continue;
            QString ask = info.fileName() + QStringLiteral("\nこのファイルは存在しません。\nファイルを作成しますか?");
            if (MsgBox(ask, vbYesNo | vbExclamation, q.title) == vbYes)
                return chosen(path);
        }
    }
} // namespace

namespace dialogs {
    void setScripted(bool on) { scriptedFlag = on; }
    bool scripted()
    {
        return scriptedFlag || !answers.empty() || !files.empty() || !qApp
            || QGuiApplication::platformName() == QStringLiteral("offscreen");
    }
    void queueAnswer(int vbResult) { answers.push_back(vbResult); }
    void queueFile(const QString& path) { files.push_back(path); }
    const std::vector<MsgBoxRecord>& messages() { return messageLog; }
    const std::vector<FileOpenRequest>& fileRequests() { return fileLog; }
    void reset()
    {
        answers.clear();
        files.clear();
        messageLog.clear();
        fileLog.clear();
    }
} // namespace dialogs

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    int answer;
    if (dialogs::scripted()) {
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        } else {
            answer = buttonSet(buttons).front();
        }
    } else {
        answer = realMsgBox(prompt, buttons, title);
    }
    messageLog.push_back({ prompt, buttons, title, answer });
    return answer;
}

FileOpenResult showFileOpen(const FileOpenRequest& request)
{
    fileLog.push_back(request);
    if (!dialogs::scripted())
        return realFileOpen(request);
    if (files.empty())
        return {};
    QString path = files.front();
    files.pop_front();
    if (path.isEmpty())
        return {};
    return chosen(withDefaultExt(path, request.defaultExt));
}

} // namespace forms
