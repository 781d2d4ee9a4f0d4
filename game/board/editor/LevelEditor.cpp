// LevelEditor: entering and leaving, the keys, the mouse, the tile list of
// the edited layer, shifting and saving.
//
// Sections:
//   - keys
//   - entering, leaving, layers
//   - tiles of the edited layer
//   - shifting
//   - mouse
//   - saving

#include "game/board/editor/LevelEditor.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "framework/core/KeyCodes.h"
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

DominoFish* LevelEditor::Mark() const
{
    // A new level replaces the tiles; a mark not found where it was set is gone.
    return mark && field.FishAt(markLayer, markIndex) == mark ? mark : nullptr;
}

LevelEditor::LevelEditor(FishField& field) : field(field) {}

bool LevelEditor::Active() const { return field.mode == PlayMode::Editor; }

// ---------------------------------------------------------------------------
// Keys

void LevelEditor::KeyDown(int key, LevelEditorHost& host)
{
    if (!Active()) {
        if (key == KeyF8) {
            Enter();
        } else if (key == KeyF1 && !field.layers.empty() && !field.layers.back().empty()) {
            field.layers.back().back()->GiveBonus();
        }
        return;
    }
    KeepLayerInRange();
    switch (key) {
    case KeyF8:
        Leave();
        break;
    case KeyPageDown:
        EditLayer(editedLayer - 1);
        break;
    case KeyPageUp:
        EditLayer(editedLayer + 1);
        break;
    case KeyNumpad6:
        Shift(1, 0);
        break;
    case KeyNumpad4:
        Shift(-1, 0);
        break;
    case KeyNumpad2:
        Shift(0, 1);
        break;
    case KeyNumpad8:
        Shift(0, -1);
        break;
    case KeyNumpad5:
        ResetShift();
        break;
    case KeyInsert:
        // A tile added from the keyboard keeps the plain style 0.
        AddTile(0);
        break;
    case KeyDelete:
        if (Mark()) {
            DeleteTile(Mark());
            ClearHover();
        }
        break;
    case KeyTab:
        showGrid = !showGrid;
        break;
    case KeyF2:
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
    if (!field.drag.Hovered())
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
        field.level.editorStyle = ch - '1';
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
    int& mark = lock ? field.drag.Hovered()->lockType : field.drag.Hovered()->itemType;
    mark = mark >= 0 ? -1 : type;
}

// ---------------------------------------------------------------------------
// Entering, leaving, layers

void LevelEditor::Enter()
{
    ClearHover();
    if (!Active())
        returnMode = field.mode;
    field.mode = PlayMode::Editor;
    // A field without layers gets one, so there is always a layer to edit.
    if (field.layers.empty())
        field.layers.emplace_back();
    editedLayer = static_cast<int>(field.layers.size()) - 1;
    message.clear();
    ShowEditedLayer();
}

void LevelEditor::Leave()
{
    ClearHover();
    mark = nullptr;
    markLayer = markIndex = -1;
    field.mode = returnMode;
    // The level is won when the count reaches 0, so it must match the
    // tiles the editor left, not those the level started with.
    field.RecountFish();
    field.RecomputeOpen();
    field.RecomputePlayable();
    field.MarkBackdropStale();
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
    editedLayer = layer;
    ShowEditedLayer();
}

void LevelEditor::ShowEditedLayer()
{
    for (int l = 0; l <= editedLayer && l < static_cast<int>(field.layers.size()); ++l) {
        for (auto& f : field.layers[l])
            f->open = l == editedLayer;
    }
    mark = nullptr;
    markLayer = markIndex = -1;
    ClearHover();
}

void LevelEditor::KeepLayerInRange()
{
    // A level started while editing (F5) replaces the layers under the
    // editor: it goes on with the new level's top layer.
    int count = static_cast<int>(field.layers.size());
    if (count > 0 && editedLayer >= 0 && editedLayer < count)
        return;
    if (count == 0)
        field.layers.emplace_back();
    editedLayer = static_cast<int>(field.layers.size()) - 1;
    ShowEditedLayer();
}

void LevelEditor::ClearHover()
{
    if (DominoFish* f = field.drag.Hovered()) {
        // A tile dropped mid-drag goes back to the rectangle of its place.
        if (f->dragged)
            f->SetPosition(f->x, f->y);
        f->hover = false;
        f->dragged = false;
    }
    field.drag.Forget();
}

// ---------------------------------------------------------------------------
// Tiles of the edited layer

DominoFish* LevelEditor::AddTile(int style)
{
    Layer& layer = field.layers[editedLayer];
    auto fish = std::make_unique<DominoFish>(field.level.shiftX + cursorX, field.level.shiftY + cursorY, 3,
                                             editedLayer, &field);
    fish->valueB = field.PickType();
    fish->valueA = field.PickType();
    fish->open = true;
    fish->style = style;
    DominoFish* added = fish.get();
    layer.push_back(std::move(fish));
    ClearHover();
    field.drag.Hover(added, editedLayer, -1);
    added->hover = true;
    MoveToReadingPlace(static_cast<int>(layer.size()) - 1);
    RefreshIndices();
    LayoutChanged();
    return added;
}

int LevelEditor::MoveToReadingPlace(int index)
{
    Layer& layer = field.layers[editedLayer];
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
    Layer& layer = field.layers[editedLayer];
    int index = IndexIn(layer, fish);
    if (index < 0)
        return;
    if (field.drag.Hovered() == fish)
        ClearHover();
    if (mark == fish)
        mark = nullptr;
    layer.erase(layer.begin() + index);
    RefreshIndices();
    LayoutChanged();
}

void LevelEditor::RefreshIndices()
{
    const Layer& layer = field.layers[editedLayer];
    int hoveredIndex = IndexIn(layer, field.drag.Hovered());
    if (hoveredIndex < 0)
        ClearHover();
    else
        field.drag.Relocate(editedLayer, hoveredIndex);
    markIndex = IndexIn(layer, mark);
    if (markIndex < 0)
        mark = nullptr;
    markLayer = mark ? editedLayer : -1;
}

void LevelEditor::LayoutChanged()
{
    // The tile shadows of the backdrop follow the tiles.
    field.MarkBackdropStale();
}

// ---------------------------------------------------------------------------
// Shifting

void LevelEditor::Shift(int dx, int dy)
{
    int sx = field.level.shiftX + dx;
    int sy = field.level.shiftY + dy;
    // The reader takes shifts only up to this far; the layout would not come
    // back from its file.
    if (std::abs(sx) > LevelFile::kMaxShift || std::abs(sy) > LevelFile::kMaxShift)
        return;
    field.level.shiftX = sx;
    field.level.shiftY = sy;
    for (Layer& layer : field.layers) {
        for (auto& f : layer)
            f->SetPosition(f->x + dx, f->y + dy);
    }
    LayoutChanged();
}

void LevelEditor::ResetShift()
{
    int dx = -field.level.shiftX;
    int dy = -field.level.shiftY;
    field.level.shiftX = field.level.shiftY = 0;
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
    int l = editedLayer;
    int cx = (px - kLayerShift * l - field.level.shiftX) / kCellWidth * kCellWidth;
    int cy = (py + kLayerShift * l - field.level.shiftY) / kCellHeight * kCellHeight;
    // The cursor stays on the cells a level file can hold, so whatever is
    // placed or dragged there is saved where it is shown.
    cursorX = std::clamp(cx, kMinCursorX, kMaxCursorX);
    cursorY = std::clamp(cy, kMinCursorY, kMaxCursorY);
}

bool LevelEditor::MouseMove(int px, int py)
{
    if (!Active())
        return false;
    KeepLayerInRange();
    UpdateCursor(px, py);
    DominoFish* previous = field.drag.Hovered();
    field.drag.Forget();
    Layer& layer = field.layers[editedLayer];
    for (size_t i = 0; i < layer.size(); ++i) {
        if (!field.drag.Hovered() && layer[i]->HitTest(px, py))
            field.drag.Hover(layer[i].get(), editedLayer, static_cast<int>(i));
        else
            layer[i]->hover = false;
    }
    return field.drag.Hovered() != previous;
}

void LevelEditor::MouseDown(int px, int py, int clickCode)
{
    if (!Active())
        return;
    KeepLayerInRange();
    MouseMove(px, py);
    if (clickCode > 0 && clickCode != 3) {
        if (field.drag.Hovered())
            DeleteTile(field.drag.Hovered());
        else
            AddTile(field.level.editorStyle);
    } else if (clickCode < 0) {
        mark = field.drag.Hovered();
        markLayer = field.drag.Hovered() ? field.drag.Group() : -1;
        markIndex = field.drag.Hovered() ? field.drag.Index() : -1;
    }
}

bool LevelEditor::MouseDrag(int px, int py)
{
    if (!Active())
        return false;
    KeepLayerInRange();
    UpdateCursor(px, py);
    DominoFish* f = field.drag.Hovered();
    if (!f)
        return false;
    f->SetPosition(field.level.shiftX + cursorX, field.level.shiftY + cursorY);
    f->dragged = true;
    LayoutChanged();
    return true;
}

void LevelEditor::MouseUp(int, int, int clickCode)
{
    if (!Active())
        return;
    KeepLayerInRange();
    DominoFish* f = field.drag.Hovered();
    if (!f || field.drag.Index() < 0 || clickCode == 3)
        return;
    // Either button ends a drag: the tile takes its reading-order place, so
    // the list stays in the order the level reader builds.
    f->hover = false;
    f->dragged = false;
    MoveToReadingPlace(field.drag.Index());
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
