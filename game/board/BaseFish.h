#pragma once

// BaseFish: the abstract tile. Every tile of the board is a DominoFish; the
// base only fixes the per-update operation that all owners call (the drawing
// operation joins it with the board-on-screen work). Owners hold tiles by
// std::unique_ptr, so the destructor is virtual.

namespace Zorvin {

class BaseFish {
public:
    BaseFish() = default;
    BaseFish(const BaseFish&) = delete;
    BaseFish& operator=(const BaseFish&) = delete;
    virtual ~BaseFish() = default;

    // One logic step; called once per application update.
    virtual void Update() = 0;
};

} // namespace Zorvin
