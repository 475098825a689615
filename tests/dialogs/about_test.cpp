#include "dialogs/frmAbout.h"
#include "support/app_fixture.h"
#include "support/real_input.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

using namespace forms;

class AboutBox : public AppFixture {
protected:
    static void mouse(Control& c, QEvent::Type type, Qt::MouseButton button)
    {
        const QPointF inside(2, 2);
        QWidget* w = c.widget();
        QMouseEvent e(type, inside, w->mapToGlobal(inside), type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static bool highlighted(FrmAbout& a)
    {
        return a.labelUrl.foreColor() == vbRed && a.labelUrl.fontUnderline();
    }
    static bool normal(FrmAbout& a)
    {
        return a.labelUrl.foreColor() == vbButtonText && !a.labelUrl.fontUnderline();
    }
};

TEST_F(AboutBox, TheTitleLineJoinsTheMinorVersionAndTheRevision)
{
    EXPECT_EQ(AboutTitleLine("Quenlo", 3, 1, 2), QStringLiteral("Quenlo　Ver. 3.12"));
    EXPECT_EQ(AboutTitleLine("Quenlo", 3, 1, 12), QStringLiteral("Quenlo　Ver. 3.112"));
    EXPECT_EQ(AboutTitleLine("Quenlo", 3, 11, 2), AboutTitleLine("Quenlo", 3, 1, 12));

    FrmAbout& a = frmAbout();
    // The application title is the main window's caption.
    EXPECT_EQ(a.caption(), QStringLiteral("Quenlo <Varneth> について"));
    EXPECT_EQ(a.lblTitle.caption(), QStringLiteral("Quenlo <Varneth>　Ver. 1.00"));
    EXPECT_FALSE(a.icon().isNull());
}

TEST_F(AboutBox, TheLinkHighlightsOverItselfAndOpensTheHomePageOnALeftClick)
{
    QStringList opened;
    platform::setShellOpener([&](const QString& target) { opened << target; });
    FrmAbout& a = frmAbout();
    a.show();
    ASSERT_TRUE(normal(a));
    mouse(a.labelUrl, QEvent::MouseMove, Qt::NoButton);
    EXPECT_TRUE(highlighted(a));
    mouse(a.labelUrl, QEvent::MouseMove, Qt::NoButton);
    EXPECT_TRUE(highlighted(a));
    mouse(a.frameUrl, QEvent::MouseMove, Qt::NoButton);
    EXPECT_TRUE(normal(a));
    mouse(a.labelUrl, QEvent::MouseMove, Qt::NoButton);
    EXPECT_TRUE(highlighted(a));

    mouse(a.labelUrl, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_TRUE(frmAbout.isLoaded());
    EXPECT_TRUE(highlighted(a));
    EXPECT_TRUE(opened.isEmpty());

    mouse(a.labelUrl, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_FALSE(frmAbout.isLoaded());
    EXPECT_EQ(opened, QStringList{HomePageAddress()});
    EXPECT_EQ(a.labelUrl.caption(), HomePageAddress());
}

TEST_F(AboutBox, EnterAndEscClickOk)
{
    for (const char* key : {"\r", "\x1b"}) {
        FrmAbout& a = frmAbout();
        a.show();
        a.userType(key);
        EXPECT_FALSE(frmAbout.isLoaded());
    }
}

// The same keys typed for real, with the focus on the button or on none.
TEST_F(AboutBox, EnterAndEscTypedAtTheBoxCloseIt)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        for (bool onButton : {true, false}) {
            SCOPED_TRACE(testing::Message() << "key " << key << (onButton ? " at the button" : " at the box"));
            int clicks = 0;
            FrmAbout& a = frmAbout();
            a.cmdOK.onClick = [&] { ++clicks, a.unload(); };
            a.show();
            real::activate(a);
            if (onButton)
                a.cmdOK.setFocus();
            real::key(key);
            EXPECT_FALSE(frmAbout.isLoaded());
            EXPECT_EQ(clicks, 1);
        }
    }
}

// The desktop's opener starts in the program's folder, not in the folder the
// program was started from. A stand-in opener found first on PATH notes where it
// ran and what it was given.
TEST_F(AboutBox, TheLinkStartsItsOpenerInTheProgramsFolder)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString noted = elsewhere.filePath(QStringLiteral("noted"));
    QFile opener(elsewhere.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write(QStringLiteral("#!/bin/sh\n{ pwd -P; printf '%s\\n' \"$1\"; } > '%1.part' && mv '%1.part' '%1'\n")
                     .arg(noted)
                     .toUtf8());
    opener.close();
    opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    const QString started = QDir::currentPath();
    qputenv("PATH", elsewhere.path().toLocal8Bit() + ':' + path);
    QDir::setCurrent(elsewhere.path());
    platform::setShellOpener(nullptr);

    FrmAbout& a = frmAbout();
    a.show();
    mouse(a.labelUrl, QEvent::MouseButtonPress, Qt::LeftButton);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(noted) && waited.elapsed() < 10000)
        QThread::msleep(20);
    qputenv("PATH", path);
    QDir::setCurrent(started);

    QFile said(noted);
    ASSERT_TRUE(said.open(QIODevice::ReadOnly)) << "the opener did not run";
    const QStringList lines = QString::fromUtf8(said.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{QFileInfo(platform::programFolder()).canonicalFilePath(), HomePageAddress()}));
}
