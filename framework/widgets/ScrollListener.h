#pragma once

// ScrollListener: how a scroll bar reports its position (in lines) to the
// widget it scrolls.

namespace Zorvin {

class ScrollListener {
public:
    virtual ~ScrollListener() = default;
    virtual void ScrollPosition(int id, double position)
    {
        (void)id;
        (void)position;
    }
};

} // namespace Zorvin
