#include "dialogs/frmAbout.h"

#include "platform/numbers.h"
#include "platform/process.h"

#include <QPainter>

using namespace forms;

QString HomePageAddress() { return QStringLiteral("https://quenlo.example.org/"); }

QString AboutTitleLine(const QString& title, int major, int minor, int revision)
{
    return title + QStringLiteral("　Ver. ") + platform::numberText(major) + QStringLiteral(".")
        + platform::numberText(minor) + platform::numberText(revision);
}

// A dot and a dash on a dark key.
QPixmap ProgramIcon()
{
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(32, 64, 112));
    p.drawRoundedRect(1, 1, 30, 30, 6, 6);
    p.setBrush(QColor(255, 214, 64));
    p.drawEllipse(QRectF(5, 13, 6, 6));
    p.drawRoundedRect(QRectF(14, 13, 13, 6), 3, 3);
    return icon;
}

FrmAbout::FrmAbout()
{
    setCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setBorderStyle(Border::FixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setShowInTaskbar(false);
    setClientSize(4335, 2505);
    setIcon(ProgramIcon());

    picIcon.setBorderStyle(0);
    picIcon.setPicture(ProgramIcon());
    picIcon.move(240, 240, 540, 540);
    lblTitle.setCaption(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"));
    lblTitle.move(960, 391, 3285, 360);
    lblDescription.setCaption(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"));
    lblDescription.setForeColor(vbBlack);
    lblDescription.move(360, 840, 3915, 330);
    frameUrl.move(600, 1080, 3615, 795);
    frameUrl.setBorderStyle(0);
    labelUrl.setCaption(HomePageAddress());
    labelUrl.setForeColor(vbButtonText);
    labelUrl.setMousePointer(vbCustom);
    labelUrl.move(360, 180, 2535, 255);
    for (Label* l : {&lblTitle, &lblDescription, &labelUrl}) {
        l->setBackStyle(0);
        l->setWordWrap(false);
    }
    Line1(1).setBorderColor(0x808080);
    Line1(1).setPoints(120, 1920, 4200, 1920);
    Line1(0).setBorderColor(vbWhite);
    Line1(0).setBorderWidth(2);
    Line1(0).setPoints(240, 1920, 4200, 1920);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.move(2760, 2040, 1380, 345);
    setDefaultButton(&cmdOK);
    setCancelButton(&cmdOK);

    onLoad = [this] { Form_Load(); };
    cmdOK.onClick = [this] { unload(); };
    labelUrl.onMouseMove = [this](int, int, float, float) { labelUrl_MouseMove(); };
    frameUrl.onMouseMove = [this](int, int, float, float) { frameUrl_MouseMove(); };
    labelUrl.onMouseDown = [this](int button, int, float, float) { labelUrl_MouseDown(button); };
}

void FrmAbout::Form_Load()
{
    setCaption(platform::appTitle() + QStringLiteral(" について"));
    lblTitle.setCaption(AboutTitleLine(platform::appTitle(), platform::appMajor(), platform::appMinor(),
                                       platform::appRevision()));
    lblDescription.setCaption(QStringLiteral("モールス符号（CW）の受信練習ソフトです。"));
}

void FrmAbout::labelUrl_MouseMove()
{
    if (labelUrl.foreColor() == vbButtonText) {
        labelUrl.setForeColor(vbRed);
        labelUrl.setFontUnderline(true);
    }
}

void FrmAbout::frameUrl_MouseMove()
{
    if (labelUrl.foreColor() == vbRed) {
        labelUrl.setForeColor(vbButtonText);
        labelUrl.setFontUnderline(false);
    }
}

void FrmAbout::labelUrl_MouseDown(int button)
{
    if (button != vbLeftButton)
        return;
    labelUrl.setForeColor(vbButtonText);
    labelUrl.setFontUnderline(false);
    unload();
    platform::shellOpen(HomePageAddress());
}
