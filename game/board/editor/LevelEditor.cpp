// LevelEditor: entering and leaving, the keys, the mouse, the tile list of
// the edited layer, shifting and saving.

#include "game/board/editor/LevelEditor.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "game/board/DominoFish.h"
#include "game/board/FishField.h"
#include "game/board/LevelFile.h"
#include "game/board/editor/LevelEditorHost.h"

namespace Zorvin {

namespace {

// The offset of every layer's picture from the one below it.
constexpr int kLayerShift = DominoFish::kLayerShift;
// Longest file name most file systems take.
constexpr size_t kMaxFileName = 255;

// Index of `fish` in `layer`, or -1.
int IndexIn(const Layer& layer, const DominoFish* fish)
{
    if (!fish)
        return -1;
    for (size_t i = 0; i < layer.size(); ++i) {
        if (layer[i].get() == fish)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

LevelEditor::LevelEditor(FishField& field) : field(field), returnMode(FishField::kDragMode) {}

bool LevelEditor::Active() const { return field.mode == FishField::kEditorMode; }

// ---------------------------------------------------------------------------
// Keys

void LevelEditor::KeyDown(int key, LevelEditorHost& host)
{
    if (!Active()) {
        if (key == kKeyF8) {
            Enter();
        } else if (key == kKeyF1 && !field.layers.empty() && !field.layers.back().empty()) {
            field.layers.back().back()->GiveBonus();
        }
        return;
    }
    KeepLayerInRange();
    switch (key) {
    case kKeyF8:
        Leave();
        break;
    case kKeyPageDown:
        EditLayer(field.editorLayer - 1);
        break;
    case kKeyPageUp:
        EditLayer(field.editorLayer + 1);
        break;
    case kKeyNumpad6:
        Shift(1, 0);
        break;
    case kKeyNumpad4:
        Shift(-1, 0);
        break;
    case kKeyNumpad2:
        Shift(0, 1);
        break;
    case kKeyNumpad8:
        Shift(0, -1);
        break;
    case kKeyNumpad5:
        ResetShift();
        break;
    case kKeyInsert:
        // A tile added from the keyboard keeps the plain style 0.
        AddTile(0);
        break;
    case kKeyDelete:
        if (field.editorMark) {
            DeleteTile(field.editorMark);
            ClearHover();
        }
        break;
    case kKeyTab:
        field.showGrid = !field.showGrid;
        break;
    case kKeyF2:
        Save(host);
        break;
    default:
        break;
    }
}

void LevelEditor::CharTyped(char ch)
{
    if (!Active())
        return;
    KeepLayerInRange();
    if (!field.hovered)
        return;
    switch (ch) {
    case 'q':
    case 'w':
    case 'e':
        ToggleMark(ch, true);
        break;
    case 'a':
    case 's':
    case 'd':
        ToggleMark(ch, false);
        break;
    case '1':
    case '2':
    case '3':
    case '4':
        field.editorStyle = ch - '1';
        break;
    default:
        break;
    }
}

void LevelEditor::ToggleMark(char ch, bool lock)
{
    static constexpr char kLockKeys[] = "qwe";
    static constexpr char kItemKeys[] = "asd";
    const char* keys = lock ? kLockKeys : kItemKeys;
    int type = static_cast<int>(std::find(keys, keys + 3, ch) - keys);
    int& mark = lock ? field.hovered->lockType : field.hovered->itemType;
    mark = mark >= 0 ? -1 : type;
}

// ---------------------------------------------------------------------------
// Entering, leaving, layers

void LevelEditor::Enter()
{
    ClearHover();
    if (!Active())
        returnMode = field.mode;
    field.mode = FishField::kEditorMode;
    // A field without layers gets one, so there is always a layer to edit.
    if (field.layers.empty())
        field.layers.emplace_back();
    field.editorLayer = static_cast<int>(field.layers.size()) - 1;
    message.clear();
    ShowEditedLayer();
}

void LevelEditor::Leave()
{
    ClearHover();
    field.editorMark = nullptr;
    field.editorMarkLayer = field.editorMarkIndex = -1;
    field.mode = returnMode;
    // The level is won when the count reaches 0, so it must match the
    // tiles the editor left, not those the level started with.
    field.fishCount = field.CountFish();
    field.RecomputeOpen();
    field.RecomputePlayable();
    field.RebuildBackdrop();
}

void LevelEditor::EditLayer(int layer)
{
    layer = std::max(layer, 0);
    if (layer >= static_cast<int>(field.layers.size())) {
        if (static_cast<int>(field.layers.size()) >= LevelFile::kMaxLayers)
            return;
        field.layers.emplace_back();
        layer = static_cast<int>(field.layers.size()) - 1;
    }
    field.editorLayer = layer;
    ShowEditedLayer();
}

void LevelEditor::ShowEditedLayer()
{
    for (int l = 0; l <= field.editorLayer && l < static_cast<int>(field.layers.size()); ++l) {
        for (auto& f : field.layers[l])
            f->open = l == field.editorLayer;
    }
    field.editorMark = nullptr;
    field.editorMarkLayer = field.editorMarkIndex = -1;
    ClearHover();
}

void LevelEditor::KeepLayerInRange()
{
    // A level started while editing (F5) replaces the layers under the
    // editor: it goes on with the new level's top layer.
    int count = static_cast<int>(field.layers.size());
    if (count > 0 && field.editorLayer >= 0 && field.editorLayer < count)
        return;
    if (count == 0)
        field.layers.emplace_back();
    field.editorLayer = static_cast<int>(field.layers.size()) - 1;
    ShowEditedLayer();
}

void LevelEditor::ClearHover()
{
    if (DominoFish* f = field.hovered) {
        // A tile dropped mid-drag goes back to the rectangle of its place.
        if (f->dragged)
            f->SetPosition(f->x, f->y);
        f->hover = false;
        f->dragged = false;
    }
    field.hovered = nullptr;
    field.hoveredLayer = field.hoveredIndex = -1;
}

// ---------------------------------------------------------------------------
// Tiles of the edited layer

DominoFish* LevelEditor::AddTile(int style)
{
    Layer& layer = field.layers[field.editorLayer];
    auto fish = std::make_unique<DominoFish>(field.shiftX + field.cursorX, field.shiftY + field.cursorY, 3,
                                             field.editorLayer, &field);
    fish->valueB = field.PickType();
    fish->valueA = field.PickType();
    fish->open = true;
    fish->style = style;
    DominoFish* added = fish.get();
    layer.push_back(std::move(fish));
    ClearHover();
    field.hovered = added;
    added->hover = true;
    field.hoveredLayer = field.editorLayer;
    MoveToReadingPlace(static_cast<int>(layer.size()) - 1);
    RefreshIndices();
    LayoutChanged();
    return added;
}

int LevelEditor::MoveToReadingPlace(int index)
{
    Layer& layer = field.layers[field.editorLayer];
    std::unique_ptr<DominoFish> fish = std::move(layer[index]);
    layer.erase(layer.begin() + index);
    // Before the first tile further down, or on the same row to the left.
    auto place = std::find_if(layer.begin(), layer.end(), [&](const std::unique_ptr<DominoFish>& other) {
        return other->y > fish->y || (other->y == fish->y && other->x < fish->x);
    });
    int newIndex = static_cast<int>(place - layer.begin());
    layer.insert(place, std::move(fish));
    return newIndex;
}

void LevelEditor::DeleteTile(DominoFish* fish)
{
    Layer& layer = field.layers[field.editorLayer];
    int index = IndexIn(layer, fish);
    if (index < 0)
        return;
    if (field.hovered == fish)
        ClearHover();
    if (field.editorMark == fish)
        field.editorMark = nullptr;
    layer.erase(layer.begin() + index);
    RefreshIndices();
    LayoutChanged();
}

void LevelEditor::RefreshIndices()
{
    const Layer& layer = field.layers[field.editorLayer];
    field.hoveredIndex = IndexIn(layer, field.hovered);
    if (field.hoveredIndex < 0)
        ClearHover();
    else
        field.hoveredLayer = field.editorLayer;
    field.editorMarkIndex = IndexIn(layer, field.editorMark);
    if (field.editorMarkIndex < 0)
        field.editorMark = nullptr;
    field.editorMarkLayer = field.editorMark ? field.editorLayer : -1;
}

void LevelEditor::LayoutChanged()
{
    // The tile shadows of the backdrop follow the tiles.
    field.RebuildBackdrop();
}

// ---------------------------------------------------------------------------
// Shifting

void LevelEditor::Shift(int dx, int dy)
{
    int sx = field.shiftX + dx;
    int sy = field.shiftY + dy;
    // The reader takes shifts only up to this far; the layout would not come
    // back from its file.
    if (std::abs(sx) > LevelFile::kMaxShift || std::abs(sy) > LevelFile::kMaxShift)
        return;
    field.shiftX = sx;
    field.shiftY = sy;
    for (Layer& layer : field.layers) {
        for (auto& f : layer)
            f->SetPosition(f->x + dx, f->y + dy);
    }
    LayoutChanged();
}

void LevelEditor::ResetShift()
{
    int dx = -field.shiftX;
    int dy = -field.shiftY;
    field.shiftX = field.shiftY = 0;
    for (Layer& layer : field.layers) {
        for (auto& f : layer)
            f->SetPosition(f->x + dx, f->y + dy);
    }
    LayoutChanged();
}

// ---------------------------------------------------------------------------
// Mouse

void LevelEditor::UpdateCursor(int px, int py)
{
    int l = field.editorLayer;
    int cx = (px - kLayerShift * l - field.shiftX) / kCellWidth * kCellWidth;
    int cy = (py + kLayerShift * l - field.shiftY) / kCellHeight * kCellHeight;
    // The cursor stays on the cells a level file can hold, so whatever is
    // placed or dragged there is saved where it is shown.
    field.cursorX = std::clamp(cx, kMinCursorX, kMaxCursorX);
    field.cursorY = std::clamp(cy, kMinCursorY, kMaxCursorY);
}

bool LevelEditor::MouseMove(int px, int py)
{
    if (!Active())
        return false;
    KeepLayerInRange();
    UpdateCursor(px, py);
    DominoFish* previous = field.hovered;
    field.hovered = nullptr;
    field.hoveredLayer = field.hoveredIndex = -1;
    Layer& layer = field.layers[field.editorLayer];
    for (size_t i = 0; i < layer.size(); ++i) {
        if (!field.hovered && layer[i]->HitTest(px, py)) {
            field.hovered = layer[i].get();
            field.hoveredLayer = field.editorLayer;
            field.hoveredIndex = static_cast<int>(i);
        } else {
            layer[i]->hover = false;
        }
    }
    return field.hovered != previous;
}

void LevelEditor::MouseDown(int px, int py, int clickCode)
{
    if (!Active())
        return;
    KeepLayerInRange();
    MouseMove(px, py);
    if (clickCode > 0 && clickCode != 3) {
        if (field.hovered)
            DeleteTile(field.hovered);
        else
            AddTile(field.editorStyle);
    } else if (clickCode < 0) {
        field.editorMark = field.hovered;
        field.editorMarkLayer = field.hovered ? field.hoveredLayer : -1;
        field.editorMarkIndex = field.hovered ? field.hoveredIndex : -1;
    }
}

bool LevelEditor::MouseDrag(int px, int py)
{
    if (!Active())
        return false;
    KeepLayerInRange();
    UpdateCursor(px, py);
    DominoFish* f = field.hovered;
    if (!f)
        return false;
    f->SetPosition(field.shiftX + field.cursorX, field.shiftY + field.cursorY);
    f->dragged = true;
    LayoutChanged();
    return true;
}

void LevelEditor::MouseUp(int, int, int clickCode)
{
    if (!Active())
        return;
    KeepLayerInRange();
    if (!field.hovered || field.hoveredIndex < 0 || clickCode == 3)
        return;
    // Either button ends a drag: the tile takes its reading-order place, so
    // the list stays in the order the level reader builds.
    field.hovered->hover = false;
    field.hovered->dragged = false;
    MoveToReadingPlace(field.hoveredIndex);
    RefreshIndices();
}

// ---------------------------------------------------------------------------
// Saving

bool LevelEditor::IsSafeFileName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxFileName || name == "." || name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7F;
    });
}

bool LevelEditor::Save(LevelEditorHost& host)
{
    std::string name;
    if (!host.AskFileName("Save Level", "Name", "level.xml", name))
        return false;
    if (!IsSafeFileName(name)) {
        message = "Not saved: a file name without folders or \"..\" is needed";
        return false;
    }
    if (!SaveLevel(field, name)) {
        message = "Not saved: cannot write " + name;
        return false;
    }
    message = "Saved " + name;
    return true;
}

} // namespace Zorvin
