#pragma once
#include "platform/forms/forms.h"

// The exam-text dialog: ten registered exam texts per alphabet.
class DialogMogisikenTxt : public forms::Form {
public:
    DialogMogisikenTxt();
};

inline forms::FormRef<DialogMogisikenTxt> dialogMogisikenTxt;
