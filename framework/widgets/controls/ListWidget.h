#pragma once

// ListWidget: a column of text lines that highlights the line under the
// mouse, selects and reports clicked lines (with their click count), and
// scrolls with the wheel. Lists can be chained left and right into the
// columns of one table: highlight, selection, scrolling and line colours then
// apply to the whole row. Owned by its creator; the listener and the
// neighbours are not owned.

#include <string>
#include <vector>

#include "framework/widgets/ScrollListener.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

class Font;
class ListListener;

class ListWidget : public Widget, public ScrollListener {
public:
    enum ColorIndex {
        ColorBkg = 0,
        ColorOutline = 1,
        ColorText = 2,
        ColorHilite = 3,
        ColorSelect = 4,
        ColorSelectText = 5,
    };
    static constexpr int WheelLines = 5;

    ListWidget(int listId, Font* listFont, ListListener* listener);
    ~ListWidget() override;

    // Adds a line (in sort order when alphaSort is set); returns its index.
    virtual int AddLine(const std::string& line, bool alphaSort = false);
    virtual void SetLine(int idx, const std::string& line);
    virtual void RemoveLine(int idx);
    virtual void RemoveAll();
    int GetLineCount() const { return int(lines.size()); }
    // The first line equal to text, or -1.
    int GetLineIdx(const std::string& line) const;
    const std::string& GetStringAt(int idx) const;
    // Colours one line (by index or by its text) in every list of the chain.
    void SetLineColor(int idx, const Color& color);
    void SetColor(const std::string& line, const Color& color);
    using Widget::SetColor;
    void SetSelect(int idx);
    void SetHilite(int idx, bool notify = false);
    // Scrolls to a line position, limited to the lines there are.
    void SetScrollPosition(double pos);
    double GetScrollPosition() const { return position; }
    int GetItemHeight();
    int GetPageSize() const { return pageSize; }
    int GetOptimalWidth();
    int GetOptimalHeight();
    // Joins this list and right as neighbouring columns.
    void LinkRight(ListWidget* right);
    // Line under a point of this widget, or -1.
    int LineAt(int px, int py);

    void ScrollPosition(int scrollId, double pos) override;
    void Draw(Graphics* g) override;
    void MouseMove(int px, int py) override;
    void MouseLeave() override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseWheel(int delta) override;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;

    int id;
    ListListener* listListener;
    Font* font;
    std::vector<std::string> lines;
    std::vector<Color> lineColors;
    int itemHeight = -1;
    int hiliteIdx = -1;
    int selectIdx = -1;
    double position = 0;
    int pageSize = 1;
    bool doFingerWhenHilited = true;
    bool drawOutline = true;
    ListWidget* prev = nullptr;
    ListWidget* next = nullptr;
    int sortMinKeyWidth = 0;

    // The font of lists made without one (a system font made on first use).
    static Font* GetDefaultFont();

private:
    template <typename Fn>
    void ForChain(Fn fn);
    std::string SortKey(const std::string& line) const;
    void SetCursor(int number);
};

} // namespace Zorvin
