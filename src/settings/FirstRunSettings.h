#pragma once
#include <QByteArray>

// The settings file a new learner starts with: the main window's and the
// options dialog's design values for both alphabets (Latin in use, code-check
// mode, 45 characters per minute at 800 Hz, Wave sound at 16000 samples per
// second), so that the first start, the first alphabet switch and the first
// look at the options dialog all find usable values. It reaches to the end of
// record 262.
QByteArray FirstRunSettingsImage();
