#pragma once
#include "platform/forms/forms.h"

#include <QString>

// The About box: the title with its version, a notice and a link to the home page.
class FrmAbout : public forms::Form {
public:
    FrmAbout();

    forms::PictureBox picIcon{*this};
    forms::Label lblTitle{*this};
    forms::Label lblDescription{*this};
    forms::Frame frameUrl{*this};
    forms::Label labelUrl{frameUrl};
    forms::ControlArray<forms::Line> Line1{*this, 0, 1};
    forms::CommandButton cmdOK{*this};

private:
    void Form_Load();
    void labelUrl_MouseMove();
    void frameUrl_MouseMove();
    void labelUrl_MouseDown(int button);
};

inline forms::FormRef<FrmAbout> frmAbout;

// The home page the link opens.
QString HomePageAddress();
// "<title>　Ver. <major>.<minor><revision>": no separator between the minor version
// and the revision.
QString AboutTitleLine(const QString& title, int major, int minor, int revision);
// The program's icon, 32 x 32.
QPixmap ProgramIcon();
