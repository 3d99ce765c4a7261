#include "tools/editor-host/DialogScript.h"

#include <array>
#include <charconv>
#include <sstream>
#include <utility>

#include "ui/Messages.h"

namespace EditorHost {

namespace {

constexpr std::array<std::pair<const char*, int>, 13> kScrollRequests = {{
    {"lineup", ui::SB_LINEUP},
    {"lineleft", ui::SB_LINELEFT},
    {"linedown", ui::SB_LINEDOWN},
    {"lineright", ui::SB_LINERIGHT},
    {"pageup", ui::SB_PAGEUP},
    {"pageleft", ui::SB_PAGELEFT},
    {"pagedown", ui::SB_PAGEDOWN},
    {"pageright", ui::SB_PAGERIGHT},
    {"thumbposition", ui::SB_THUMBPOSITION},
    {"thumbtrack", ui::SB_THUMBTRACK},
    {"top", ui::SB_TOP},
    {"bottom", ui::SB_BOTTOM},
    {"endscroll", ui::SB_ENDSCROLL},
}};

bool ParseNumber(const std::string& word, int& value) {
    const char* end = word.data() + word.size();
    auto [stop, status] = std::from_chars(word.data(), end, value);
    return status == std::errc() && stop == end;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// One action from its words; false when they are not a known action.
bool ParseAction(const std::vector<std::string>& words, DialogAction& action) {
    const std::string& verb = words[0];
    const size_t count = words.size();
    if (verb == "click" && count == 2) {
        action.kind = DialogActionKind::Click;
        return ParseNumber(words[1], action.id);
    }
    if (verb == "select" && count == 3) {
        action.kind = DialogActionKind::Select;
        return ParseNumber(words[1], action.id) && ParseNumber(words[2], action.index) && action.index >= 0;
    }
    if (verb == "size" && count == 3) {
        action.kind = DialogActionKind::Size;
        return ParseNumber(words[1], action.width) && ParseNumber(words[2], action.height) && action.width > 0 &&
               action.height > 0;
    }
    if (verb == "scroll" && (count == 3 || count == 4)) {
        action.kind = DialogActionKind::Scroll;
        if (words[1] != "h" && words[1] != "v") return false;
        action.horizontal = words[1] == "h";
        bool known = false;
        for (const auto& [name, code] : kScrollRequests) {
            if (words[2] == name) {
                action.request = code;
                known = true;
            }
        }
        return known && (count == 3 || (ParseNumber(words[3], action.position) && action.position >= 0 &&
                                         action.position <= 0xFFFF));
    }
    if (verb == "shot" && count == 2) {
        action.kind = DialogActionKind::Shot;
        action.file = words[1];
        return true;
    }
    if ((verb == "ok" || verb == "cancel") && count == 1) {
        action.kind = verb == "ok" ? DialogActionKind::Ok : DialogActionKind::Cancel;
        return true;
    }
    return false;
}

}  // namespace

std::optional<std::vector<DialogAction>> ParseDialogScript(const std::string& script, std::string& error) {
    std::vector<DialogAction> actions;
    std::istringstream stream(script);
    for (std::string text; std::getline(stream, text, ';');) {
        const std::vector<std::string> words = Words(text);
        if (words.empty()) continue;
        DialogAction action;
        action.text = text.substr(text.find_first_not_of(" \t\n"));
        action.text.erase(action.text.find_last_not_of(" \t\n") + 1);
        if (!ParseAction(words, action)) {
            error = "unknown dialog action \"" + action.text + "\"";
            return std::nullopt;
        }
        actions.push_back(std::move(action));
    }
    if (actions.empty()) {
        error = "the dialog script holds no action";
        return std::nullopt;
    }
    for (size_t i = 0; i + 1 < actions.size(); ++i) {
        if (actions[i].kind == DialogActionKind::Ok || actions[i].kind == DialogActionKind::Cancel) {
            error = "\"" + actions[i].text + "\" closes the dialog, so it must be the last action";
            return std::nullopt;
        }
    }
    return actions;
}

}  // namespace EditorHost
