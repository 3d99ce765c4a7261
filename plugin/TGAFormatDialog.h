// TGAFormatDialog: the save-options dialog. It becomes the dialog that
// DialogProc forwards to for its lifetime; its controls come with the dialog
// resources.
#pragma once

#include "plugin/PSFormatDialog.h"

namespace FormatPlugin {

class TGAFormatDialog : public PSFormatDialog {
public:
    TGAFormatDialog();
    // Empties the converter's temporary folder: a dialog's previews never outlive it.
    ~TGAFormatDialog() override;
};

}  // namespace FormatPlugin
