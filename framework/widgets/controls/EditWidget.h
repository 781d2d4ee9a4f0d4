#pragma once

// EditWidget: a one-line text field with a blinking cursor, selection with
// the mouse and with Shift, the clipboard (Ctrl+C, Ctrl+X, Ctrl+V), one step
// of undo (Ctrl+Z), limits on characters and on width, and an optional
// password character. The listener hears Enter and may refuse keys,
// characters and pasted text. Text is Windows-1251. Owned by its creator;
// the listener is not owned.

#include <memory>
#include <string>

#include "framework/widgets/Widget.h"

namespace Zorvin {

class EditListener;
class Font;

class EditWidget : public Widget {
public:
    enum ColorIndex { ColorBkg = 0, ColorOutline = 1, ColorText = 2, ColorHilite = 3, ColorHiliteText = 4 };
    // Blink half-period in logic updates.
    static constexpr int BlinkUpdates = 40;

    EditWidget(int editId, EditListener* listener);
    ~EditWidget() override;

    // Replaces the text (cut to the limits); the whole new text is selected
    // with the cursor at its end.
    virtual void SetText(const std::string& newText, bool leaveHistory = false);
    const std::string& GetText() const { return text; }
    // Keeps a duplicate of the font.
    virtual void SetFont(Font* newFont);
    Font* GetFont();
    bool HasSelection() const { return hilitePos != -1 && hilitePos != cursorPos; }
    std::string GetSelection() const;
    // What is shown: the text, or one password character per character.
    std::string GetDisplayString() const;

    void Update() override;
    void Draw(Graphics* g) override;
    void GotFocus() override;
    void LostFocus() override;
    void CharTyped(char ch) override;
    void KeyDown(int key) override;
    void MouseDown(int px, int py, int clickCode) override;
    void MouseDrag(int px, int py) override;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;

    int id;
    EditListener* editListener;
    std::string text;
    std::unique_ptr<Font> font;
    int cursorPos = 0;
    // Other end of the selection; -1 = none.
    int hilitePos = -1;
    // First character shown (the field scrolls to keep the cursor in view).
    int leftPos = 0;
    int maxChars = -1;
    int maxPixels = -1;
    char passwordChar = 0;
    std::string undoText;
    int undoCursor = 0;
    bool showingCursor = false;
    int blinkAcc = 0;

private:
    bool IsKeyDown(int key) const;
    void DeleteSelection();
    // Inserts one character at the cursor if the listener and the limits
    // allow it; true when inserted.
    bool InsertChar(char ch);
    void SaveUndo();
    void MoveCursor(int newPos, bool extend);
    void EnsureCursorVisible();
    int PositionAt(int px);
    int TextX(int pos);
    void Changed();
};

} // namespace Zorvin
