#include "game/board/ComboMeter.h"

#include "game/shared/Res.h"

namespace Zorvin {

ComboMeter::ComboMeter()
    : meterImage(IMAGE_COMBO_METER), meterOnImage(IMAGE_COMBO_METER_ON), labelsImage(IMAGE_COMBO_METER_LABELS)
{
}

void ComboMeter::Add(float amount)
{
    level += amount;
    if (level > 100)
        level = 100;
}

int ComboMeter::Multiplier() const
{
    for (int i = static_cast<int>(thresholds.size()) - 1; i >= 0; --i) {
        if (level > thresholds[i])
            return i + 1;
    }
    return 1;
}

void ComboMeter::Update()
{
    if (level > 0) {
        level -= decay;
        if (level < 0)
            level = 0;
    }
}

} // namespace Zorvin
