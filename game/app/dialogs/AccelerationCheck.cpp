#include "game/app/dialogs/AccelerationCheck.h"

#include "framework/app/Test3DRecord.h"

namespace Zorvin {

AccelerationVerdict ReadAccelerationVerdict(SettingsAccess& settings)
{
    Test3DRecord record;
    if (!record.Read(settings))
        return AccelerationVerdict::NotSupported;
    if (record.Supported())
        return AccelerationVerdict::Recommended;
    if (record.failureReason == "Low video memory.")
        return AccelerationVerdict::NotRecommended;
    return AccelerationVerdict::NotSupported;
}

} // namespace Zorvin
