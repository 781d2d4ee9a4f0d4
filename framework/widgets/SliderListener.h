#pragma once

// SliderListener: how a Slider reports its value (0..1) to its owner, by id.

namespace Zorvin {

class SliderListener {
public:
    virtual ~SliderListener() = default;
    virtual void OnSliderMoved(int id, double value)
    {
        (void)id;
        (void)value;
    }
};

} // namespace Zorvin
