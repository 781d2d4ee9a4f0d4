#include "framework/app/DialogStack.h"

#include "framework/widgets/controls/Dialog.h"

#include <algorithm>

namespace Zorvin {

DialogStack::DialogStack() = default;

DialogStack::~DialogStack() = default;

Dialog* DialogStack::Push(int id, std::unique_ptr<Dialog> dialog)
{
    Dialog* d = dialog.get();
    if (d == nullptr)
        return nullptr;
    byId[id] = d;
    inOrder.push_back(std::move(dialog));
    return d;
}

std::unique_ptr<Dialog> DialogStack::Remove(int id)
{
    auto found = byId.find(id);
    if (found == byId.end())
        return nullptr;
    Dialog* d = found->second;
    byId.erase(found);
    auto it = std::find_if(inOrder.begin(), inOrder.end(),
                           [d](const std::unique_ptr<Dialog>& e) { return e.get() == d; });
    if (it == inOrder.end())
        return nullptr;
    std::unique_ptr<Dialog> taken = std::move(*it);
    inOrder.erase(it);
    return taken;
}

std::unique_ptr<Dialog> DialogStack::PopOldest()
{
    if (inOrder.empty())
        return nullptr;
    std::unique_ptr<Dialog> taken = std::move(inOrder.front());
    inOrder.pop_front();
    for (auto it = byId.begin(); it != byId.end(); ++it)
        if (it->second == taken.get()) {
            byId.erase(it);
            break;
        }
    return taken;
}

Dialog* DialogStack::Find(int id) const
{
    auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

Dialog* DialogStack::Top() const { return inOrder.empty() ? nullptr : inOrder.back().get(); }

std::vector<Dialog*> DialogStack::InOrder() const
{
    std::vector<Dialog*> dialogs;
    dialogs.reserve(inOrder.size());
    for (const auto& d : inOrder)
        dialogs.push_back(d.get());
    return dialogs;
}

} // namespace Zorvin
