#pragma once

// DialogStack: the open dialogs, owned, in the order they were opened and
// by the number each was opened under (one dialog per number). The
// application base keeps one; it puts the dialogs on and off the screen
// and hands a closed dialog to deferred deletion, since a dialog often
// closes itself from its own button.

#include <list>
#include <map>
#include <memory>
#include <vector>

namespace Zorvin {

class Dialog;

class DialogStack {
public:
    DialogStack();
    DialogStack(const DialogStack&) = delete;
    DialogStack& operator=(const DialogStack&) = delete;
    ~DialogStack();

    // Puts a dialog on top under `id`; the number must be free (the caller
    // closes the old dialog first).
    Dialog* Push(int id, std::unique_ptr<Dialog> dialog);
    // Takes the dialog of this number out of the stack; empty when none.
    std::unique_ptr<Dialog> Remove(int id);
    // Takes the oldest dialog out; empty when none is open.
    std::unique_ptr<Dialog> PopOldest();

    Dialog* Find(int id) const;
    // The dialog opened last and still open, or null.
    Dialog* Top() const;
    int Count() const { return static_cast<int>(inOrder.size()); }
    bool Empty() const { return inOrder.empty(); }
    // The open dialogs, oldest first.
    std::vector<Dialog*> InOrder() const;

private:
    std::list<std::unique_ptr<Dialog>> inOrder;
    std::map<int, Dialog*> byId;
};

} // namespace Zorvin
