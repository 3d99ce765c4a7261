// Replays a dialog script on the modal dialog that a module shows next on this
// thread. The actions run from that dialog's own message loop, one at a time,
// each as a person's input would reach the controls; they are done once the
// dialog has handled them, conversions included.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/editor-host/DialogScript.h"
#include "ui/Types.h"

namespace EditorHost {

class DialogScriptRunner {
public:
    // `caption` names the dialog to act on; `hostWindow` is the host's own window, never acted on.
    DialogScriptRunner(std::vector<DialogAction> actions, std::string caption, ui::HWND hostWindow);
    ~DialogScriptRunner();
    DialogScriptRunner(const DialogScriptRunner&) = delete;
    DialogScriptRunner& operator=(const DialogScriptRunner&) = delete;

    // Queues the first step before the module is called; false when no window can be made for it.
    bool Start();
    // After the module's call: true when every action ran and they closed the
    // dialog; otherwise false with the reason. A script that fails closes the
    // dialog with Cancel, so the module saves nothing.
    bool Finish(std::string& error) const;

private:
    static ui::LRESULT StepProcedure(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
    void Step();
    void PostStep();
    // The first visible top-level window in z-order that is not the host's; null when none.
    ui::HWND FrontWindow() const;
    void CloseMessageBox(ui::HWND box);
    // Runs one action; false with error_ set when it names what the dialog does not have.
    bool Run(const DialogAction& action);
    void Fail(const std::string& reason);

    std::vector<DialogAction> actions_;
    std::string caption_;
    ui::HWND hostWindow_;
    ui::HWND stepWindow_ = nullptr;
    ui::HWND dialog_ = nullptr;
    size_t next_ = 0;
    bool running_ = false;  // an action is running: a step now comes from a box it opened
    std::string error_;
};

}  // namespace EditorHost
