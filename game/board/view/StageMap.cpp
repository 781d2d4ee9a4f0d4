#include "game/board/view/StageMap.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <iterator>

namespace Zorvin {

namespace {

// Stage points of click mode (12 stages) and drag mode (10 stages), in stage
// order, on the 800 x 600 map picture.
constexpr Point kClickPoints[] = {{504, 88},  {469, 91},  {435, 99},  {398, 107}, {366, 105}, {337, 123},
                                  {304, 141}, {332, 178}, {303, 204}, {275, 236}, {335, 235}, {387, 251}};
constexpr Point kDragPoints[] = {{202, 214}, {226, 243}, {271, 315}, {317, 365}, {405, 369},
                                 {510, 300}, {463, 251}, {411, 203}, {463, 159}, {519, 113}};

} // namespace

StageMap::StageMap(ModeSource modeSource, PreviewRenderer renderer)
    : mode(std::move(modeSource)), preview(std::move(renderer))
{
}

StageMap::~StageMap() = default;

void StageMap::RebuildStagePoints()
{
    stagePoints.clear();
    if (mode() == PlayMode::Click)
        stagePoints.assign(std::begin(kClickPoints), std::end(kClickPoints));
    else
        stagePoints.assign(std::begin(kDragPoints), std::end(kDragPoints));
}

void StageMap::BuildThumbnails(int first, int last)
{
    for (int i = 0; i < std::max<int>(last + 1, int(thumbnails.size())); ++i) {
        if (i >= int(thumbnails.size()))
            thumbnails.emplace_back();
        if (i < first || i > last || i < 1) {
            thumbnails[i].reset();
            continue;
        }
        if (thumbnails[i])
            continue;
        auto image = std::make_unique<MemoryImage>(kThumbWidth, kThumbHeight);
        {
            Graphics g(image.get());
            if (preview)
                preview(i, g);
        }
        ++renderCount;
        thumbnails[i] = std::move(image);
    }
}

void StageMap::ReleaseThumbnails()
{
    thumbnails.clear();
}

MemoryImage* StageMap::Thumbnail(int level) const
{
    if (level < 0 || level >= int(thumbnails.size()))
        return nullptr;
    return thumbnails[level].get();
}

} // namespace Zorvin
