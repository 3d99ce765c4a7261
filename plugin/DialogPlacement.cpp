#include "plugin/DialogPlacement.h"

#include <algorithm>

namespace FormatPlugin {

DialogPosition CenteredDialogPosition(const DialogPlacementInput& in) {
    int32_t shift = in.captionButtonWidth;
    if (!in.hasSystemMenu) shift -= shift / 3;
    DialogPosition position;
    position.x = in.parentLeft + std::max(0, in.parentWidth - in.dialogWidth) / 2 - shift;
    if (position.x + in.dialogWidth > in.screenWidth) position.x = std::max(0, in.screenWidth - in.dialogWidth);
    position.y = in.parentTop + std::max(0, in.parentHeight - in.dialogHeight) / 3;
    if (position.y + in.dialogHeight > in.screenHeight) position.y = std::max(0, in.screenHeight - in.dialogHeight);
    return position;
}

}  // namespace FormatPlugin
