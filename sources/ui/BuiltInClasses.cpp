#include <mutex>

#include "ui/Controls.h"
#include "ui/DialogManager.h"
#include "ui/Drawing.h"
#include "ui/WindowInternals.h"

namespace ui {

void EnsureBuiltInClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct BuiltIn {
            const char* name;
            WNDPROC procedure;
            HBRUSH background;
        };
        const BuiltIn classes[] = {
            {kDialogClass, DialogWindowProc, GetSysColorBrush(COLOR_BTNFACE)},
            {kButtonClass, ButtonProc, nullptr},
            {kStaticClass, StaticProc, nullptr},
            {kComboBoxClass, ComboBoxProc, nullptr},
            {kComboListClass, ComboListProc, nullptr},
            {kProgressClass, ProgressProc, nullptr},
        };
        WindowGuard guard(WindowLock());
        for (const BuiltIn& builtIn : classes) {
            WNDCLASSEX record;
            record.lpfnWndProc = builtIn.procedure;
            record.hbrBackground = builtIn.background;
            record.lpszClassName = builtIn.name;
            AddClass(record);
        }
    });
}

}  // namespace ui
