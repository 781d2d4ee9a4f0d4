// Sections:
//   - font and text access
//   - editing (undo, deleting the selection, inserting)
//   - typed characters
//   - cursor and keys
//   - update and focus
//   - text positions and scrolling
//   - mouse
//   - drawing

#include "framework/widgets/controls/EditWidget.h"

#include <algorithm>

#include "framework/core/KeyCodes.h"
#include "framework/widgets/EditListener.h"
#include "framework/graphics/Graphics.h"
#include "framework/font/SysFont.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/WidgetHost.h"

namespace Zorvin {

namespace {
constexpr int TextLeft = 4;
} // namespace

EditWidget::EditWidget(int editId, EditListener* listener) : id(editId), editListener(listener)
{
    colors = {Color(255, 255, 255), Color(0, 0, 0), Color(0, 0, 0), Color(0, 0, 0), Color(255, 255, 255)};
    wantsFocus = true;
}

EditWidget::~EditWidget() = default;

void EditWidget::SetFont(Font* newFont)
{
    font = newFont ? newFont->Duplicate() : nullptr;
    EnsureCursorVisible();
    MarkDirty();
}

Font* EditWidget::GetFont()
{
    if (!font)
        font = std::make_unique<SysFont>("SansSerif", 10);
    return font.get();
}

bool EditWidget::IsKeyDown(int key) const { return manager && manager->IsKeyDown(key); }

std::string EditWidget::GetDisplayString() const
{
    return passwordChar ? std::string(text.size(), passwordChar) : text;
}

std::string EditWidget::GetSelection() const
{
    if (!HasSelection())
        return std::string();
    int a = std::min(cursorPos, hilitePos), b = std::max(cursorPos, hilitePos);
    return text.substr(size_t(a), size_t(b - a));
}

void EditWidget::SetText(const std::string& newText, bool leaveHistory)
{
    if (!leaveHistory)
        SaveUndo();
    text.clear();
    for (char c : newText) {
        if (maxChars >= 0 && int(text.size()) >= maxChars)
            break;
        if (maxPixels >= 0) {
            std::string tryText = text + c;
            std::string shown = passwordChar ? std::string(tryText.size(), passwordChar) : tryText;
            if (GetFont()->StringWidth(shown) > maxPixels)
                break;
        }
        text += c;
    }
    cursorPos = int(text.size());
    hilitePos = 0;
    leftPos = 0;
    EnsureCursorVisible();
    MarkDirty();
}

void EditWidget::SaveUndo()
{
    undoText = text;
    undoCursor = cursorPos;
}

void EditWidget::Changed()
{
    EnsureCursorVisible();
    showingCursor = hasFocus;
    blinkAcc = 0;
    MarkDirty();
}

void EditWidget::DeleteSelection()
{
    if (!HasSelection()) {
        hilitePos = -1;
        return;
    }
    int a = std::min(cursorPos, hilitePos), b = std::max(cursorPos, hilitePos);
    text.erase(size_t(a), size_t(b - a));
    cursorPos = a;
    hilitePos = -1;
}

bool EditWidget::InsertChar(char ch)
{
    if (editListener && !editListener->AllowChar(id, ch))
        return false;
    if (maxChars >= 0 && int(text.size()) >= maxChars)
        return false;
    std::string tryText = text;
    tryText.insert(size_t(cursorPos), 1, ch);
    if (maxPixels >= 0) {
        std::string shown = passwordChar ? std::string(tryText.size(), passwordChar) : tryText;
        if (GetFont()->StringWidth(shown) > maxPixels)
            return false;
    }
    text = std::move(tryText);
    cursorPos++;
    return true;
}

void EditWidget::CharTyped(char ch)
{
    unsigned char uc = static_cast<unsigned char>(ch);
    switch (uc) {
    case 3: // Ctrl+C; a password never leaves the field
        if (HasSelection() && !passwordChar && GetHost())
            GetHost()->CopyToClipboard(GetSelection());
        return;
    case 24: // Ctrl+X
        if (HasSelection() && !passwordChar) {
            if (GetHost())
                GetHost()->CopyToClipboard(GetSelection());
            SaveUndo();
            DeleteSelection();
            Changed();
        }
        return;
    case 22: { // Ctrl+V: the first line of the clipboard
        std::string clip = GetHost() ? GetHost()->GetClipboard() : std::string();
        size_t cr = clip.find('\r');
        if (cr != std::string::npos)
            clip.resize(cr);
        std::string usable;
        Font* f = GetFont();
        for (char c : clip) {
            if (c == '\n' || static_cast<unsigned char>(c) < 32 || f->CharWidth(c) <= 0)
                continue;
            usable += c;
        }
        if (usable.empty() || (editListener && !editListener->AllowText(id, usable)))
            return;
        SaveUndo();
        DeleteSelection();
        for (char c : usable)
            InsertChar(c);
        Changed();
        return;
    }
    case 26: { // Ctrl+Z: swap with the text before the last change
        std::swap(text, undoText);
        std::swap(cursorPos, undoCursor);
        cursorPos = std::clamp(cursorPos, 0, int(text.size()));
        hilitePos = -1;
        Changed();
        return;
    }
    case KeyEnter:
        if (editListener)
            editListener->EditWidgetText(id, text);
        return;
    case KeyBack:
        SaveUndo();
        if (HasSelection()) {
            DeleteSelection();
        } else if (cursorPos > 0) {
            text.erase(size_t(cursorPos - 1), 1);
            cursorPos--;
        }
        hilitePos = -1;
        Changed();
        return;
    default:
        break;
    }
    if (uc < 32 || uc == 127)
        return; // other control characters (Tab, Escape) are not text
    if (editListener && !editListener->AllowChar(id, ch))
        return;
    SaveUndo();
    std::string before = text;
    int beforeCursor = cursorPos, beforeHilite = hilitePos;
    DeleteSelection();
    if (!InsertChar(ch) && text.size() != before.size()) {
        // Did not fit even after removing the selection: keep the old text.
        text = before;
        cursorPos = beforeCursor;
        hilitePos = beforeHilite;
    }
    Changed();
}

void EditWidget::MoveCursor(int newPos, bool extend)
{
    newPos = std::clamp(newPos, 0, int(text.size()));
    if (extend) {
        if (hilitePos == -1)
            hilitePos = cursorPos;
    } else {
        hilitePos = -1;
    }
    cursorPos = newPos;
    Changed();
}

void EditWidget::KeyDown(int key)
{
    if (editListener && !editListener->AllowKey(id, key))
        return;
    bool shift = IsKeyDown(KeyShift);
    bool ctrl = IsKeyDown(KeyControl);
    int n = int(text.size());
    switch (key) {
    case KeyHome:
        MoveCursor(0, shift);
        return;
    case KeyEnd:
        MoveCursor(n, shift);
        return;
    case KeyArrowLeft: {
        if (!shift && HasSelection()) {
            MoveCursor(std::min(cursorPos, hilitePos), false);
            return;
        }
        int p = cursorPos - 1;
        if (ctrl && !passwordChar) { // to the start of the previous word
            p = cursorPos;
            while (p > 0 && text[size_t(p - 1)] == ' ')
                p--;
            while (p > 0 && text[size_t(p - 1)] != ' ')
                p--;
        }
        MoveCursor(p, shift);
        return;
    }
    case KeyArrowRight: {
        if (!shift && HasSelection()) {
            MoveCursor(std::max(cursorPos, hilitePos), false);
            return;
        }
        int p = cursorPos + 1;
        if (ctrl && !passwordChar) { // past the end of this word and its spaces
            p = cursorPos;
            while (p < n && text[size_t(p)] != ' ')
                p++;
            while (p < n && text[size_t(p)] == ' ')
                p++;
        }
        MoveCursor(p, shift);
        return;
    }
    case KeyDelete:
        SaveUndo();
        if (HasSelection())
            DeleteSelection();
        else if (cursorPos < n)
            text.erase(size_t(cursorPos), 1);
        hilitePos = -1;
        Changed();
        return;
    default:
        Widget::KeyDown(key);
    }
}

void EditWidget::Update()
{
    Widget::Update();
    if (!hasFocus)
        return;
    if (++blinkAcc >= BlinkUpdates) {
        blinkAcc = 0;
        showingCursor = !showingCursor;
        MarkDirty();
    }
}

void EditWidget::GotFocus()
{
    Widget::GotFocus();
    showingCursor = true;
    blinkAcc = 0;
    MarkDirty();
}

void EditWidget::LostFocus()
{
    Widget::LostFocus();
    showingCursor = false;
    MarkDirty();
}

int EditWidget::TextX(int pos)
{
    std::string shown = GetDisplayString();
    pos = std::clamp(pos, 0, int(shown.size()));
    int from = std::min(leftPos, pos);
    int w = GetFont()->StringWidth(shown.substr(size_t(from), size_t(pos - from)));
    return TextLeft + (pos >= leftPos ? w : -w);
}

int EditWidget::PositionAt(int px)
{
    std::string shown = GetDisplayString();
    Font* f = GetFont();
    int best = leftPos;
    int bestDist = std::abs(px - TextLeft);
    for (int i = leftPos + 1; i <= int(shown.size()); i++) {
        int cx = TextLeft + f->StringWidth(shown.substr(size_t(leftPos), size_t(i - leftPos)));
        int dist = std::abs(px - cx);
        if (dist < bestDist) {
            best = i;
            bestDist = dist;
        }
        if (cx > px)
            break;
    }
    return best;
}

void EditWidget::EnsureCursorVisible()
{
    cursorPos = std::clamp(cursorPos, 0, int(text.size()));
    leftPos = std::clamp(leftPos, 0, cursorPos);
    std::string shown = GetDisplayString();
    Font* f = GetFont();
    int room = std::max(1, width - 2 * TextLeft);
    auto span = [&](int from) { return f->StringWidth(shown.substr(size_t(from), size_t(cursorPos - from))); };
    while (leftPos < cursorPos && span(leftPos) > room)
        leftPos++;
    // Scroll back when there is room again (the field grew, or text was
    // deleted before the cursor).
    while (leftPos > 0 && span(leftPos - 1) <= room)
        leftPos--;
}

void EditWidget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    EnsureCursorVisible();
}

void EditWidget::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    if (clickCode == 2) { // double click selects everything
        hilitePos = 0;
        cursorPos = int(text.size());
        Changed();
        return;
    }
    if (clickCode != 1)
        return;
    MoveCursor(PositionAt(px), IsKeyDown(KeyShift));
    if (hilitePos == -1)
        hilitePos = cursorPos;
}

void EditWidget::MouseDrag(int px, int py)
{
    Widget::MouseDrag(px, py);
    int p = PositionAt(px);
    if (p != cursorPos) {
        if (hilitePos == -1)
            hilitePos = cursorPos;
        cursorPos = p;
        Changed();
    }
}

void EditWidget::Draw(Graphics* g)
{
    Font* f = GetFont();
    g->SetColor(GetColor(ColorBkg));
    g->FillRect(0, 0, width, height);

    Graphics inner(*g);
    inner.ClipRect(1, 1, width - 2, height - 2);
    inner.SetFont(f);
    std::string shown = GetDisplayString().substr(size_t(std::min<int>(leftPos, int(text.size()))));
    int baseline = (height - f->GetHeight()) / 2 + f->GetAscent();
    int top = (height - f->GetHeight()) / 2;
    inner.SetColor(GetColor(ColorText));
    inner.DrawString(shown, TextLeft, baseline);

    if (HasSelection()) {
        int a = std::min(cursorPos, hilitePos), b = std::max(cursorPos, hilitePos);
        int x1 = std::max(TextX(a), TextLeft - 1), x2 = TextX(b);
        Graphics band(inner);
        band.ClipRect(x1, top, x2 - x1, f->GetHeight());
        band.SetColor(GetColor(ColorHilite));
        band.FillRect(x1, top, x2 - x1, f->GetHeight());
        band.SetColor(GetColor(ColorHiliteText));
        band.DrawString(shown, TextLeft, baseline);
    }
    if (showingCursor && hasFocus) {
        inner.SetColor(GetColor(ColorText));
        inner.FillRect(TextX(cursorPos), top, 1, f->GetHeight());
    }
    g->SetColor(GetColor(ColorOutline));
    g->DrawRect(0, 0, width - 1, height - 1);
}

} // namespace Zorvin
