#pragma once
#include "platform/failure.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace forms {

// Elements lbound..ubound of one control type sharing one handler per event, which gets
// the element's index first. An index outside the bounds fails.
//   ControlArray<CommandButton> ButtonJp{frameJpButton, 1, 68};
//   ButtonJp.on(&CommandButton::onClick, [this](int i) { ButtonJp_Click(i); });
//   ButtonJp(3).setCaption("ウ");
template <class T>
class ControlArray {
public:
    template <class Parent>
    ControlArray(Parent& parent, int lbound, int ubound)
        : lbound_(lbound)
    {
        for (int i = lbound; i <= ubound; ++i) {
            elements_.push_back(std::make_unique<T>(parent));
            elements_.back()->setArrayIndex(i);
        }
    }

    T& operator()(int i) const
    {
        if (i < lbound_ || i > ubound())
            throw platform::Failure(QStringLiteral("control array index %1 out of bounds").arg(i));
        return *elements_[static_cast<std::size_t>(i - lbound_)];
    }
    int ubound() const { return lbound_ + static_cast<int>(elements_.size()) - 1; }

    // Wires one event of every element to handler(index, event arguments...).
    template <class C, class... A>
    void on(std::function<void(A...)> C::*event, std::type_identity_t<std::function<void(int, A...)>> handler)
    {
        for (auto& e : elements_) {
            int i = e->index();
            (static_cast<C&>(*e).*event) = [handler, i](A... args) { handler(i, std::forward<A>(args)...); };
        }
    }

    template <class F>
    void forEach(F&& f) const
    {
        for (auto& e : elements_)
            f(*e);
    }

private:
    int lbound_;
    std::vector<std::unique_ptr<T>> elements_;
};

} // namespace forms
