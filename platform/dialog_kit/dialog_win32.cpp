#include "platform/dialog_kit/dialog.h"

#include <windows.h>

namespace platform {

// The dialog procedure: routes the dialog manager's messages to the Dialog
// that opened the window, which travels in the creation parameter.
class DialogHost {
public:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* dialog = reinterpret_cast<Dialog*>(lParam);
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            dialog->Handle = window;
            return dialog->processMessage({DialogMessage::Init, 0, 0}) ? TRUE : FALSE;
        }
        auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
        if (!dialog)
            return FALSE;
        if (message == WM_COMMAND) {
            const DialogEvent event{DialogMessage::Command, LOWORD(wParam), HIWORD(wParam)};
            return dialog->processMessage(event) ? TRUE : FALSE;
        }
        if (message == WM_NCDESTROY)
            dialog->Handle = nullptr;
        return FALSE;
    }
};

namespace {

Rect toRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

Rect workArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return toRect(area);
}

// The owner counts only while it is visible and not minimised.
HWND visibleOwner(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner)
        return nullptr;
    const LONG_PTR style = GetWindowLongPtrA(owner, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_MINIMIZE) ? owner : nullptr;
}

} // namespace

int Dialog::doModal(const DialogTemplate& dialogTemplate, Window owner) {
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogTemplate.Id),
                                           owner, DialogHost::procedure, reinterpret_cast<LPARAM>(this));
    Handle = nullptr;
    return static_cast<int>(result);
}

Window Dialog::window() const { return Handle; }

void Dialog::endDialog(int result) {
    if (Handle)
        EndDialog(Handle, result);
}

void Dialog::addListString(int controlId, const char* label) {
    if (Handle)
        SendDlgItemMessageA(Handle, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
}

void Dialog::setListSelection(int controlId, int position) {
    if (Handle)
        SendDlgItemMessageA(Handle, controlId, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

// A missing control must not read as position 0, which SendDlgItemMessage
// would give.
int Dialog::listSelection(int controlId) const {
    HWND list = Handle ? GetDlgItem(Handle, controlId) : nullptr;
    if (!list)
        return kNoSelection;
    const LRESULT position = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? kNoSelection : static_cast<int>(position);
}

void Dialog::setCheck(int controlId, bool checked) {
    if (Handle)
        CheckDlgButton(Handle, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::isChecked(int controlId) const {
    return Handle && IsDlgButtonChecked(Handle, controlId) == BST_CHECKED;
}

void Dialog::centerWindow() {
    if (!Handle)
        return;
    Rect centre;
    Rect area;
    if (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(Handle);
        RECT client{};
        GetClientRect(parent, &client);
        MapWindowPoints(parent, parent, reinterpret_cast<POINT*>(&client), 2);
        area = toRect(client);
        centre = area;
    } else {
        area = workArea();
        centre = area;
        if (HWND owner = visibleOwner(Handle)) {
            RECT frame{};
            GetWindowRect(owner, &frame);
            centre = toRect(frame);
        }
    }
    RECT own{};
    GetWindowRect(Handle, &own);
    const Point position = centredPosition(own.right - own.left, own.bottom - own.top, centre, area);
    SetWindowPos(Handle, nullptr, position.X, position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Window activeWindow() { return GetActiveWindow(); }

} // namespace platform
