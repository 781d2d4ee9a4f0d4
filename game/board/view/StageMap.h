#pragma once

// StageMap: the map screen's data about the campaign of the board's mode:
// the centres of the stage points and the 120 x 90 thumbnails of the levels
// of the stage being looked at. The board owns it (it depends on the board's
// mode and on the level reader); the map screen reads and draws from it.
// Only one stage's five thumbnails are kept at a time, so drawing the map
// never renders a level.

#include <functional>
#include <memory>
#include <vector>

#include "framework/core/Rect.h"
#include "game/shared/PlayMode.h"

namespace Zorvin {

class Graphics;
class MemoryImage;

class StageMap {
public:
    // Reads the board's current mode.
    using ModeSource = std::function<PlayMode()>;
    // Draws the preview of a level of the board's mode into a 120 x 90 context.
    using PreviewRenderer = std::function<void(int level, Graphics& g)>;

    static constexpr int kThumbWidth = 120;
    static constexpr int kThumbHeight = 90;
    static constexpr int kStripX = 40;
    static constexpr int kStripY = 440;
    static constexpr int kSlotStep = 150;
    static constexpr int kLevelsPerStage = 5;

    StageMap(ModeSource mode, PreviewRenderer preview);
    ~StageMap();
    StageMap(const StageMap&) = delete;
    StageMap& operator=(const StageMap&) = delete;

    PlayMode Mode() const { return mode(); }
    // Empties the stage points and appends those of the board's current mode.
    void RebuildStagePoints();
    // Keeps thumbnails exactly for levels first..last, rendering the ones
    // that are missing and dropping all others.
    void BuildThumbnails(int first, int last);
    void ReleaseThumbnails();
    // The thumbnail of a level, or null when it is not kept.
    MemoryImage* Thumbnail(int level) const;
    // Number of thumbnails rendered since construction (tells a test that a
    // stage is rendered once, not every frame).
    int RenderCount() const { return renderCount; }

    std::vector<std::unique_ptr<MemoryImage>> thumbnails;
    Point stripOrigin{kStripX, kStripY};
    std::vector<Point> stagePoints;

private:
    ModeSource mode;
    PreviewRenderer preview;
    int renderCount = 0;
};

} // namespace Zorvin
