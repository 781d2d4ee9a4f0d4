#pragma once

// Reading the display's acceleration test record for the options dialog:
// no record means the test never ran, so acceleration is not offered; an
// empty failure reason means it is fine; the low-video-memory warning means
// it works but is not recommended; any other reason refuses it.

#include "game/app/dialogs/GameDialogHost.h"

namespace Zorvin {

class SettingsAccess;

AccelerationVerdict ReadAccelerationVerdict(SettingsAccess& settings);

} // namespace Zorvin
