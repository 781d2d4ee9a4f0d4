// The application base's dialogs and message boxes.
//
//   OnDialogButtonDown/Click   dialog buttons passed on as the application's
//   DeferDelete, ReleaseDeferredDeletions   deleting widgets once no step
//                              on the stack uses them
//   MakeDialog ... CloseDialog the dialogs by number
//   ShowMessageBox and friends system message boxes, the screensaver log

#include "framework/app/ZorvinAppBase.h"

#include "framework/core/Cp1251.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/app/SystemServices.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/WindowSystem.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace Zorvin {

void ZorvinAppBase::OnDialogButtonDown(int dialogId, int buttonId)
{
    if (buttonId == DialogButtonYes)
        OnButtonDown(DialogYesButtonBase + dialogId);
    else if (buttonId == DialogButtonNo)
        OnButtonDown(DialogNoButtonBase + dialogId);
}

void ZorvinAppBase::OnDialogButtonClick(int dialogId, int buttonId)
{
    if (buttonId == DialogButtonYes)
        OnButtonClick(DialogYesButtonBase + dialogId);
    else if (buttonId == DialogButtonNo)
        OnButtonClick(DialogNoButtonBase + dialogId);
}

void ZorvinAppBase::DeferDelete(Widget* widget)
{
    if (widget == nullptr)
        return;
    // Queued twice would be deleted twice.
    for (const auto& entry : deferredDeletes)
        if (entry.second == widget)
            return;
    deferredDeletes.emplace_back(pumpDepth, widget);
}

void ZorvinAppBase::ReleaseDeferredDeletions()
{
    // A destructor may defer more deletions, so look again after each one.
    // Widgets deferred by a deeper step than this one go now; a held widget
    // (a wait further up still reads it) stays for a later release.
    for (;;) {
        auto it = std::find_if(deferredDeletes.begin(), deferredDeletes.end(), [this](const std::pair<int, Widget*>& e) {
            return e.first >= pumpDepth && e.second->deleteHolds == 0;
        });
        if (it == deferredDeletes.end())
            return;
        Widget* w = it->second;
        deferredDeletes.erase(it);
        delete w;
    }
}

std::unique_ptr<Dialog> ZorvinAppBase::MakeDialog(int id, bool modal, const std::string& header,
                                                  const std::string& lines, const std::string& footer, int buttonMode)
{
    auto d = std::make_unique<Dialog>(id, modal, header, lines, footer, buttonMode);
    d->dialogListener = this;
    return d;
}

Dialog* ZorvinAppBase::ShowDialog(int id, bool modal, const std::string& header, const std::string& lines,
                                  const std::string& footer, int buttonMode)
{
    CloseDialog(id);
    return AddDialog(id, MakeDialog(id, modal, header, lines, footer, buttonMode));
}

Dialog* ZorvinAppBase::FindDialog(int id) { return dialogs.Find(id); }

bool ZorvinAppBase::CloseDialog(Dialog* dialog) { return dialog != nullptr && CloseDialog(dialog->id); }

void ZorvinAppBase::CloseAllDialogs()
{
    while (Dialog* top = dialogs.Top())
        CloseDialog(top);
}

Dialog* ZorvinAppBase::AddDialog(int id, std::unique_ptr<Dialog> dialog)
{
    if (!dialog)
        return nullptr;
    CloseDialog(id);
    if (dialog->width == 0) {
        int w = width / 2;
        int h = dialog->GetPreferredHeight(w);
        dialog->Resize((width - w) / 2, height / 5, w, h);
    }
    Dialog* d = dialogs.Push(id, std::move(dialog));
    widgetManager->AddChild(d);
    if (d->IsModal()) {
        widgetManager->PushModal(d);
        // The keyboard goes to the dialog that stops everything beneath
        // it; closing it gives the keyboard back (PopModal).
        widgetManager->SetFocusWidget(d);
        OnModalOpen();
    }
    return d;
}

bool ZorvinAppBase::CloseDialog(int id)
{
    std::unique_ptr<Dialog> d = dialogs.Remove(id);
    if (!d)
        return false;
    // A dialog closed without an answer answers 0, so a nested wait for its
    // answer ends instead of waiting forever.
    if (!d->HasResult())
        d->result = 0;
    widgetManager->RemoveChild(d.get());
    if (d->IsModal()) {
        OnModalClose();
        widgetManager->PopModal(d.get());
    }
    // Deleted once no step on the stack still runs in it.
    DeferDelete(d.release());
    return true;
}

void ZorvinAppBase::BeginSystemPopup() { isSystemPopupUp = true; }

void ZorvinAppBase::EndSystemPopup()
{
    ResetTiming();
    widgetManager->ReleaseMouseButtons();
    if (windowSystem != nullptr)
        windowSystem->SetMouseCapture(false);
    isSystemPopupUp = false;
}

int ZorvinAppBase::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    if (isScreenSaver) {
        LogScreenSaverError(text);
        return IDOK;
    }
    if (systemServices == nullptr) {
        std::fprintf(stderr, "%s: %s\n", Cp1251ToUtf8(title).c_str(), Cp1251ToUtf8(text).c_str());
        return (flags & MB_YESNO) ? IDNO : IDOK;
    }
    BeginSystemPopup();
    int result = systemServices->ShowMessageBox(text, title, flags);
    EndSystemPopup();
    return result;
}

void ZorvinAppBase::ShowFatalError(const std::string& text)
{
    if (shutdown)
        return;
    ShowMessageBox(text, "FATAL ERROR", MB_OK | MB_ICONERROR);
}

void ZorvinAppBase::LogScreenSaverError(const std::string& text)
{
    FILE* f = std::fopen("ScrError.txt", screenSaverErrorLogStarted ? "a" : "w");
    screenSaverErrorLogStarted = true;
    if (f == nullptr)
        return;
    std::time_t t = std::time(nullptr);
    char when[32] = "";
    std::strftime(when, sizeof when, "%Y-%m-%d_%H:%M:%S", std::localtime(&t));
    std::fprintf(f, "%s %s %u\n", when, text.c_str(), static_cast<unsigned>(Now()));
    std::fclose(f);
}

} // namespace Zorvin
