#pragma once
#include "platform/forms/forms.h"

// The About box.
class FrmAbout : public forms::Form {
public:
    FrmAbout();
};

inline forms::FormRef<FrmAbout> frmAbout;
