#pragma once
// The forms layer: forms and controls with the original's semantics on Qt widgets.
#include "platform/forms/control.h"
#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/forms/dialogs.h"
#include "platform/forms/form.h"
#include "platform/forms/keys.h"
#include "platform/forms/menu.h"
#include "platform/forms/timer.h"
