#pragma once

// EditListener: what an EditWidget tells and asks its owner, by id. The
// permission queries let an owner restrict what may be typed (for example a
// player name that becomes a file name); they allow everything by default.

#include <string>

namespace Zorvin {

class EditListener {
public:
    virtual ~EditListener() = default;
    // Enter was pressed.
    virtual void EditWidgetText(int id, const std::string& text)
    {
        (void)id;
        (void)text;
    }
    virtual bool AllowKey(int id, int key)
    {
        (void)id;
        (void)key;
        return true;
    }
    virtual bool AllowChar(int id, char ch)
    {
        (void)id;
        (void)ch;
        return true;
    }
    // A whole text about to be pasted or set.
    virtual bool AllowText(int id, const std::string& text)
    {
        (void)id;
        (void)text;
        return true;
    }
};

} // namespace Zorvin
