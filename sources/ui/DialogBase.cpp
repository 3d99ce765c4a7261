// CDialogEx: the dialog object is found through the window's user data, which
// WM_INITDIALOG sets and WM_NCDESTROY clears.
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"
#include "ui/Resources.h"
#include "ui/Styles.h"
#include "ui/Windows.h"

namespace ui {

CDialogEx::CDialogEx(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialogEx::~CDialogEx() {
    if (m_hWnd && IsWindow(m_hWnd)) {
        SetWindowLongPtr(m_hWnd, GWLP_USERDATA, 0);  // no more calls into this object
        ::ui::DestroyWindow(m_hWnd);
    }
}

BOOL CDialogEx::Create(int templateId, HWND parent) {
    templateId_ = templateId;
    parent_ = parent;
    return CreateDialogParam(ProgramModule(), templateId, parent, DialogProcedure, reinterpret_cast<LPARAM>(this))
               ? TRUE
               : FALSE;
}

INT_PTR CDialogEx::DoModal() {
    return DialogBoxParam(ProgramModule(), templateId_, parent_, DialogProcedure, reinterpret_cast<LPARAM>(this));
}

void CDialogEx::EndDialog(int result) { ::ui::EndDialog(m_hWnd, result); }

HWND CDialogEx::GetDlgItem(int id) const { return ::ui::GetDlgItem(m_hWnd, id); }

BOOL CDialogEx::SetDlgItemText(int id, const char* text) { return ::ui::SetDlgItemText(m_hWnd, id, text); }

void CDialogEx::SetWindowText(const char* text) { ::ui::SetWindowText(m_hWnd, text); }

LRESULT CDialogEx::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::ui::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CDialogEx::ShowWindow(int command) { return ::ui::ShowWindow(m_hWnd, command); }

BOOL CDialogEx::SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::ui::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
}

void CDialogEx::GetWindowRect(RECT* rect) const { ::ui::GetWindowRect(m_hWnd, rect); }

BOOL CDialogEx::DestroyWindow() { return ::ui::DestroyWindow(m_hWnd); }

BOOL CDialogEx::OnInitDialog() { return TRUE; }

bool CDialogEx::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void CDialogEx::OnOK() { EndDialog(IDOK); }

void CDialogEx::OnCancel() { EndDialog(IDCANCEL); }

void CDialogEx::PostNcDestroy() {}

INT_PTR CDialogEx::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogEx*>(lParam);
        SetWindowLongPtr(window, GWLP_USERDATA, lParam);
        self->m_hWnd = window;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialogEx*>(GetWindowLongPtr(window, GWLP_USERDATA));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtr(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->PostNcDestroy();  // may delete the object
        return FALSE;
    }
    LRESULT result = 0;
    if (self->OnMessage(message, wParam, lParam, result)) {
        SetWindowLongPtr(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace ui
