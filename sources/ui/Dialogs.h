// Dialogs from templates, message boxes and the dialog base class.
//
// Templates are constant tables in dialog units. One horizontal dialog unit is
// kDialogBaseUnitX / 4 pixels and one vertical unit kDialogBaseUnitY / 8 pixels
// (7 / 4 = 1.75 pixels on both axes, whatever the template's font): a rectangle
// maps corner by corner, each coordinate rounded to the nearest pixel (halves up),
// and its size is the difference of the mapped corners. A template's size is
// the dialog's client area; its frame comes from the dialog's style.
//
// A module registers its templates by id; CreateDialogParam and DialogBoxParam
// look them up by module and id. In a modal dialog, Enter sends WM_COMMAND for the
// focused push button, else the default push button, else IDOK; Esc sends IDCANCEL; Tab moves the
// focus among the WS_TABSTOP controls (Shift+Tab backwards); a modal dialog runs
// its own message loop, with its owner disabled, until EndDialog.
#pragma once

#include <span>

#include "ui/Types.h"

namespace ui {

constexpr int kDialogBaseUnitX = 7;
constexpr int kDialogBaseUnitY = 14;

struct DialogItem {
    const char* className;  // kButtonClass, kStaticClass, kComboBoxClass, kProgressClass
    const char* text;
    int id;
    DWORD style;  // WS_CHILD is implied
    DWORD exStyle;
    short x, y, cx, cy;
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* caption;
    const char* fontName;  // kept as data; controls draw in the system's own face
    int fontPoints;
    std::span<const DialogItem> items;
};

// The pixel rectangle of a rectangle in dialog units.
RECT DialogUnitsToPixels(const RECT& units);
BOOL MapDialogRect(HWND dialog, RECT* rect);

// False when the module already has a template with that id.
bool RegisterDialogTemplate(HINSTANCE module, int id, const DialogTemplate* dialogTemplate);
void UnregisterDialogTemplates(HINSTANCE module);

// DWLP_MSGRESULT: what SendMessage returns when a dialog procedure answers TRUE.
constexpr int DWLP_MSGRESULT = 0;

HWND CreateDialogParam(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure, LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND parent,
                               DLGPROC procedure, LPARAM param);
// The value given to EndDialog, or -1 when the dialog could not be made.
INT_PTR DialogBoxParam(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);

// A modal box with the text, an icon of the kind in `type` (MB_ICON*) and an OK
// button; returns IDOK once closed (OK, Enter, Esc or its close button), 0 when
// no box could be shown.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Records the program's module for the dialog base class's template lookup.
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int show);

// The dialog base class in the manner of the class library. Messages reach
// OnMessage first; WM_INITDIALOG calls OnInitDialog, IDOK and IDCANCEL call
// OnOK and OnCancel. PostNcDestroy runs after the window is gone.
class CDialogEx {
public:
    explicit CDialogEx(int templateId, HWND parent = nullptr);
    virtual ~CDialogEx();
    CDialogEx(const CDialogEx&) = delete;
    CDialogEx& operator=(const CDialogEx&) = delete;

    BOOL Create(int templateId, HWND parent = nullptr);  // modeless
    INT_PTR DoModal();
    void EndDialog(int result);
    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND GetDlgItem(int id) const;
    BOOL SetDlgItemText(int id, const char* text);
    void SetWindowText(const char* text);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL ShowWindow(int command);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags);
    void GetWindowRect(RECT* rect) const;
    BOOL DestroyWindow();

    HWND m_hWnd = nullptr;

protected:
    virtual BOOL OnInitDialog();
    // True when the message was handled; `result` is then what the sender gets.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void PostNcDestroy();

private:
    static INT_PTR DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND parent_;
};

}  // namespace ui
