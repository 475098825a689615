#include "platform/forms/menu.h"

#include "platform/forms/detail.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace forms {

Menu::Menu(Form& form)
    : form_(&form)
{
    attach();
    form_->menuBar()->addAction(action_);
}

Menu::Menu(Menu& parent)
    : form_(parent.form_)
    , parent_(&parent)
{
    attach();
    parent.children_.push_back(this);
    parent.submenu()->addAction(action_);
}

void Menu::attach()
{
    action_ = new QAction(form_->window());
    // Also on the window itself, so that shortcut keys work while the menu is closed.
    form_->window()->addAction(action_);
    form_->addMenu(this);
    QObject::connect(action_, &QAction::triggered, action_, [this] { triggered(); });
}

Menu::~Menu()
{
    if (parent_) {
        auto& c = parent_->children_;
        c.erase(std::remove(c.begin(), c.end(), this), c.end());
    }
    form_->removeMenu(this);
    delete submenu_;
    delete action_;
}

QMenu* Menu::submenu()
{
    if (!submenu_) {
        submenu_ = new QMenu(form_->window());
        action_->setMenu(submenu_);
    }
    return submenu_;
}

void Menu::setCaption(const QString& text)
{
    // A separator shows no text (some styles would draw it as a section title).
    const bool separator = text == QStringLiteral("-");
    action_->setSeparator(separator);
    action_->setText(separator ? QString() : text);
}

void Menu::setChecked(bool on)
{
    checked_ = on;
    action_->setCheckable(on || action_->isCheckable());
    action_->setChecked(on);
}

void Menu::setEnabled(bool on)
{
    enabled_ = on;
    action_->setEnabled(on);
}

void Menu::setVisible(bool on)
{
    visible_ = on;
    action_->setVisible(on);
}

void Menu::setShortcut(const QString& keys)
{
    action_->setShortcut(QKeySequence(keys));
    action_->setShortcutContext(Qt::WindowShortcut);
}

bool Menu::reachable() const
{
    for (const Menu* m = this; m; m = m->parent_)
        if (!m->enabled_ || !m->visible_)
            return false;
    return form_->effectivelyEnabled() && form_->effectivelyVisible();
}

void Menu::triggered()
{
    // Qt toggles a checkable action by itself; the mark belongs to the code.
    if (action_->isCheckable() && action_->isChecked() != checked_)
        action_->setChecked(checked_);
    if (!submenu_ && onClick) {
        Form& f = *form_;
        const bool byKey = detail::lastPressWasKey();
        detail::userEvent(f, [this, &f, byKey] {
            detail::KeyboardScope keyboard(byKey);
            f.raise(onClick);
        });
    }
}

void Menu::click()
{
    if (reachable())
        triggered();
}

} // namespace forms
