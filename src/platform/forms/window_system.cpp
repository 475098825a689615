#include "platform/forms/window_system.h"

#include <QGuiApplication>
#include <cstdlib>

namespace forms {

namespace {
    bool given(const char* value) { return value && *value; }
    bool chosen = false;
}

std::optional<std::string> chosenQtPlatform(const std::function<const char*(const char*)>& env)
{
    if (given(env("QT_QPA_PLATFORM")))
        return std::nullopt;
    if (given(env("DISPLAY")))
        return "xcb;wayland";
    return std::nullopt;
}

void chooseQtPlatform()
{
    if (auto platform = chosenQtPlatform([](const char* name) { return std::getenv(name); })) {
        setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
        chosen = true;
    }
}

void takeBackQtPlatform()
{
    if (chosen)
        unsetenv("QT_QPA_PLATFORM");
    chosen = false;
}

bool compositorSizesWindows()
{
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

} // namespace forms
