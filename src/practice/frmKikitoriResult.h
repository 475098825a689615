#pragma once
#include "platform/forms/forms.h"

// The results window of a stopped single-character run: counts, a score picture
// by the right/asked ratio, and the list of missed characters.
class FrmKikitoriResult : public forms::Form {
    static forms::Container& in(forms::Frame& f) { return f; }

public:
    FrmKikitoriResult();

    forms::Label SyutudaiLabel{*this};
    forms::Label Label2{*this};
    forms::Label SeikaiLabel{*this};
    forms::Label Label4{*this};
    forms::Frame Frame1{*this};
    forms::Label HuseikaiListLabel{in(Frame1)};
    forms::CommandButton CloseButton{*this};

    // The miss list being built; emptied when the window unloads.
    QString HuseikaiList_Buf;

    void Form_Load();
};

inline forms::FormRef<FrmKikitoriResult> frmKikitoriResult;

// The score picture file for right answers out of asked, "" for none.
QString ScoreIconFileFor(std::int16_t asked, std::int16_t right);
