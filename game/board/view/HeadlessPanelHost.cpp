#include "game/board/view/HeadlessPanelHost.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/imagefile/MemoryImageLoader.h"
#include "game/board/view/BoardInterface.h"

namespace Zorvin {

void HeadlessPanelHost::SetUndoEnabled(bool enabled)
{
    inner.SetUndoEnabled(enabled);
    if (panel)
        panel->SetUndoEnabled(enabled);
}

void HeadlessPanelHost::SetReshuffleButton(bool enabled, const std::string& label)
{
    inner.SetReshuffleButton(enabled, label);
    if (panel)
        panel->SetReshuffleButton(enabled, label);
}

std::unique_ptr<Image> HeadlessPanelHost::LoadDisplayImage(const std::string& path)
{
    if (std::unique_ptr<Image> image = inner.LoadDisplayImage(path))
        return image;
    if (!loadImagesFromFiles)
        return nullptr;
    return LoadMemoryImage(path);
}

} // namespace Zorvin
