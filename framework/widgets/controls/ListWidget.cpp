#include "framework/widgets/controls/ListWidget.h"

#include <algorithm>
#include <memory>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/ListListener.h"
#include "framework/font/SysFont.h"
#include "framework/widgets/WidgetHost.h"

namespace Zorvin {

Font* ListWidget::GetDefaultFont()
{
    static std::unique_ptr<Font> shared = std::make_unique<SysFont>("SansSerif", 10);
    return shared.get();
}

ListWidget::ListWidget(int listId, Font* listFont, ListListener* listener)
    : id(listId), listListener(listener), font(listFont ? listFont : GetDefaultFont())
{
    // Parchment, ink and bronze: readable over the game's dialogs.
    colors = {Color(246, 238, 218), Color(122, 88, 40),   Color(46, 34, 20),
              Color(232, 214, 170), Color(150, 104, 42), Color(255, 250, 236)};
}

ListWidget::~ListWidget()
{
    if (prev)
        prev->next = next;
    if (next)
        next->prev = prev;
}

template <typename Fn>
void ListWidget::ForChain(Fn fn)
{
    ListWidget* first = this;
    // The chain is built by LinkRight, which never makes a loop; the bound
    // guards against a hand-made one.
    for (int guard = 0; first->prev && guard < 64; guard++)
        first = first->prev;
    int guard = 0;
    for (ListWidget* l = first; l && guard < 64; l = l->next, guard++)
        fn(l);
}

void ListWidget::LinkRight(ListWidget* right)
{
    if (!right || right == this)
        return;
    next = right;
    right->prev = this;
}

void ListWidget::SetCursor(int number)
{
    if (WidgetHost* host = GetHost())
        host->SetCursorNumber(number);
}

int ListWidget::GetItemHeight() { return itemHeight > 0 ? itemHeight : std::max(1, font ? font->GetHeight() : 1); }

std::string ListWidget::SortKey(const std::string& line) const
{
    std::string key = line;
    if (int(key.size()) < sortMinKeyWidth)
        key.insert(0, size_t(sortMinKeyWidth - int(key.size())), '0');
    return key;
}

int ListWidget::AddLine(const std::string& line, bool alphaSort)
{
    int idx = int(lines.size());
    if (alphaSort) {
        std::string key = SortKey(line);
        for (int i = 0; i < int(lines.size()); i++) {
            std::string other = SortKey(lines[size_t(i)]);
            if (next && i < int(next->lines.size()))
                other += next->lines[size_t(i)];
            if (key < other) {
                idx = i;
                break;
            }
        }
    }
    lines.insert(lines.begin() + idx, line);
    lineColors.insert(lineColors.begin() + idx, GetColor(ColorText));
    if (selectIdx >= idx)
        selectIdx++;
    MarkDirty();
    return idx;
}

void ListWidget::SetLine(int idx, const std::string& line)
{
    if (idx < 0 || idx >= int(lines.size()))
        return;
    lines[size_t(idx)] = line;
    MarkDirty();
}

void ListWidget::RemoveLine(int idx)
{
    if (idx < 0 || idx >= int(lines.size()))
        return;
    lines.erase(lines.begin() + idx);
    lineColors.erase(lineColors.begin() + idx);
    if (selectIdx == idx)
        selectIdx = -1;
    else if (selectIdx > idx)
        selectIdx--;
    if (hiliteIdx >= int(lines.size()))
        hiliteIdx = -1;
    SetScrollPosition(position);
    MarkDirty();
}

void ListWidget::RemoveAll()
{
    lines.clear();
    lineColors.clear();
    selectIdx = hiliteIdx = -1;
    position = 0;
    MarkDirty();
}

int ListWidget::GetLineIdx(const std::string& line) const
{
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : int(it - lines.begin());
}

const std::string& ListWidget::GetStringAt(int idx) const
{
    static const std::string empty;
    return (idx >= 0 && idx < int(lines.size())) ? lines[size_t(idx)] : empty;
}

void ListWidget::SetLineColor(int idx, const Color& color)
{
    ForChain([&](ListWidget* l) {
        if (idx >= 0 && idx < int(l->lineColors.size())) {
            l->lineColors[size_t(idx)] = color;
            l->MarkDirty();
        }
    });
}

void ListWidget::SetColor(const std::string& line, const Color& color)
{
    int idx = GetLineIdx(line);
    if (idx >= 0)
        SetLineColor(idx, color);
}

void ListWidget::SetSelect(int idx)
{
    ForChain([&](ListWidget* l) {
        l->selectIdx = idx;
        l->MarkDirty();
    });
}

void ListWidget::SetHilite(int idx, bool notify)
{
    int old = hiliteIdx;
    ForChain([&](ListWidget* l) {
        l->hiliteIdx = idx;
        l->MarkDirty();
    });
    if (notify && old != idx && listListener)
        listListener->ListHiliteChanged(id, old, idx);
}

void ListWidget::SetScrollPosition(double pos)
{
    double maxPos = std::max(0, int(lines.size()) - pageSize);
    pos = std::clamp(pos, 0.0, maxPos);
    ForChain([&](ListWidget* l) {
        l->position = pos;
        l->MarkDirty();
    });
}

void ListWidget::ScrollPosition(int, double pos) { SetScrollPosition(pos); }

int ListWidget::GetOptimalWidth()
{
    int w = 0;
    if (font)
        for (const std::string& l : lines)
            w = std::max(w, font->StringWidth(l));
    return w + 16;
}

int ListWidget::GetOptimalHeight() { return GetItemHeight() * int(lines.size()) + 8; }

void ListWidget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    int ih = GetItemHeight();
    pageSize = newHeight < ih + 8 ? 1 : (newHeight - 8) / ih;
}

int ListWidget::LineAt(int px, int py)
{
    (void)px;
    int line = int(double(py - 4) / GetItemHeight() + position);
    if (py < 4 || line < 0 || line >= int(lines.size()))
        return -1;
    return line;
}

void ListWidget::MouseMove(int px, int py)
{
    Widget::MouseMove(px, py);
    int line = LineAt(px, py);
    if (line != hiliteIdx)
        SetHilite(line, true);
    SetCursor(line != -1 && doFingerWhenHilited ? 1 : 0);
}

void ListWidget::MouseLeave()
{
    Widget::MouseLeave();
    if (hiliteIdx != -1)
        SetHilite(-1, true);
    SetCursor(0);
}

void ListWidget::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    int line = LineAt(px, py);
    if (line == -1 || line != hiliteIdx)
        return;
    SetSelect(line);
    if (listListener)
        listListener->ListClicked(id, line, clickCode);
}

void ListWidget::MouseWheel(int delta)
{
    Widget::MouseWheel(delta);
    if (delta > 0)
        SetScrollPosition(position - WheelLines);
    else if (delta < 0)
        SetScrollPosition(position + WheelLines);
}

void ListWidget::Draw(Graphics* g)
{
    g->SetColor(GetColor(ColorBkg));
    g->FillRect(0, 0, width, height);
    if (font) {
        Graphics inner(*g);
        inner.ClipRect(1, 1, width - 2, height - 2);
        inner.SetFont(font);
        int ih = GetItemHeight();
        int first = std::max(0, int(position));
        double frac = position - double(first);
        for (int i = first; i < int(lines.size()); i++) {
            int ly = 4 + int((double(i - first) - frac) * ih);
            if (ly > height)
                break;
            Color textColor = i < int(lineColors.size()) ? lineColors[size_t(i)] : GetColor(ColorText);
            if (i == selectIdx) {
                inner.SetColor(GetColor(ColorSelect));
                inner.FillRect(1, ly, width - 2, ih);
                textColor = GetColor(ColorSelectText);
            } else if (i == hiliteIdx) {
                inner.SetColor(GetColor(ColorHilite));
                inner.FillRect(1, ly, width - 2, ih);
            }
            inner.SetColor(textColor);
            inner.DrawString(lines[size_t(i)], 6, ly + (ih - font->GetHeight()) / 2 + font->GetAscent());
        }
    }
    if (drawOutline) {
        g->SetColor(GetColor(ColorOutline));
        g->DrawRect(0, 0, width - 1, height - 1);
    }
}

} // namespace Zorvin
