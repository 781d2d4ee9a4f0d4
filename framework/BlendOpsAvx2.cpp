#include "framework/BlendOps.h"

namespace Zorvin {

const BlendOps* GetAvx2BlendOps() { return nullptr; }

} // namespace Zorvin
