// Scripted dialogs: the host replays a person's actions on the modal dialog
// that a module shows (the save options, the About box), one after another.
//
// A script is a list of actions separated by ";":
//   click ID                 a button, radio button or check box, as a mouse click does
//   select ID INDEX          a drop-down entry, with the notifications a person's choice sends
//   size W H                 the dialog's client size
//   scroll h|v REQUEST [POSITION]
//                            a scroll request to the preview: lineup, linedown, pageup,
//                            pagedown, thumbtrack, thumbposition, top, bottom, endscroll
//   shot FILE.png            the dialog's pixels as shown
//   ok, cancel               the OK or Cancel button; the last action when given
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace EditorHost {

enum class DialogActionKind { Click, Select, Size, Scroll, Shot, Ok, Cancel };

struct DialogAction {
    DialogActionKind kind = DialogActionKind::Ok;
    int id = 0;              // click, select
    int index = 0;           // select
    int width = 0;           // size
    int height = 0;
    bool horizontal = false; // scroll
    int request = 0;         // scroll: the request's code
    int position = 0;        // scroll: the thumb position
    std::string file;        // shot
    std::string text;        // the action as written, for messages
};

// The actions of a script; nothing, with the reason in `error`, for a script
// that is empty, holds an action that is not one of the above, or goes on after ok or cancel.
std::optional<std::vector<DialogAction>> ParseDialogScript(const std::string& script, std::string& error);

}  // namespace EditorHost
