#pragma once
// Keys and clicks as the window system delivers them: through Qt's event dispatch to
// the widget that has the focus, not through the forms layer's scripted entry points.
#include "platform/forms/forms.h"
#include "platform/virtual_clock.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QWidget>

namespace real {

// The widget a typed key goes to.
inline QWidget* keyTarget()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

// Shows the form's window as the active one, so that keys reach it.
inline void activate(forms::Form& f)
{
    QWidget* w = f.window();
    w->activateWindow();
    QApplication::setActiveWindow(w);
}

inline void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(keyTarget(), k, mods); }
// A character key (its text travels with the event).
inline void type(char c) { QTest::keyClick(keyTarget(), c); }

inline void click(forms::Control& c)
{
    QWidget* w = c.widget();
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

} // namespace real
