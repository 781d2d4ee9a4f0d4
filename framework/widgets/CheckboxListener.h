#pragma once

// CheckboxListener: how a Checkbox reports a change to its owner, by id.

namespace Zorvin {

class CheckboxListener {
public:
    virtual ~CheckboxListener() = default;
    virtual void OnCheckboxChanged(int id, bool checked)
    {
        (void)id;
        (void)checked;
    }
};

} // namespace Zorvin
