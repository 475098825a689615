#pragma once
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace forms {

class Form;

// A menu entry. Built on a form it sits on the menu bar: with items below it, it is a
// drop-down; without, a command on the bar itself. Built on another Menu it is an item
// of that drop-down. Caption "-" makes a separator; "&" marks the access key.
// Checked is set from code only (a click never changes it) and raises nothing; nor do
// Enabled, Visible and Caption.
class Menu {
public:
    explicit Menu(Form& form);
    explicit Menu(Menu& parent);
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    ~Menu();

    int index() const { return index_; }
    void setArrayIndex(int i) { index_ = i; }

    void setCaption(const QString& text);
    bool checked() const { return checked_; }
    void setChecked(bool on);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    // "F1" .. "F8", "Shift+F1" .. ; empty for none.
    void setShortcut(const QString& keys);
    // Enabled and visible, and so are the menus above it.
    bool reachable() const;

    std::function<void()> onClick;

    // Scripted user choice of this item (nothing happens when it cannot be reached).
    void click();

    // The layer's own use.
    QAction* action() const { return action_; }
    void triggered();

private:
    void attach();
    QMenu* submenu();

    Form* form_;
    Menu* parent_ = nullptr;
    QAction* action_ = nullptr;
    QMenu* submenu_ = nullptr;
    std::vector<Menu*> children_;
    int index_ = -1;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
};

} // namespace forms
