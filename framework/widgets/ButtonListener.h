#pragma once

// ButtonListener: how a button reports to its owner, by the button's id.
// Every operation is empty by default so owners override only what they use.

namespace Zorvin {

class ButtonListener {
public:
    virtual ~ButtonListener() = default;

    virtual void OnButtonDown(int id, int clickCount);
    virtual void OnButtonDown(int id) { (void)id; }
    // Released over the button.
    virtual void OnButtonClick(int id) { (void)id; }
    // Once per update while held with the mouse over it.
    virtual void OnButtonHeld(int id) { (void)id; }
    virtual void OnButtonEnter(int id) { (void)id; }
    virtual void OnButtonLeave(int id) { (void)id; }
    virtual void OnButtonHover(int id, int x, int y)
    {
        (void)id;
        (void)x;
        (void)y;
    }
};

inline void ButtonListener::OnButtonDown(int id, int clickCount)
{
    (void)clickCount;
    OnButtonDown(id);
}

} // namespace Zorvin
