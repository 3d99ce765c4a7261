// What modules register: dialog templates by id and icons by name.
#pragma once

#include <vector>

#include "ui/Dialogs.h"
#include "ui/System.h"

namespace ui {

struct Icon {
    std::vector<IconImage> images;  // the pixels belong to the module that registered them
};

const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id);

// The module that AfxWinInit recorded.
HINSTANCE ProgramModule();

}  // namespace ui
