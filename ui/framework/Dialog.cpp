#include "ui/framework/Dialog.h"

#include <windowsx.h>

namespace
{

const char DialogProperty[] = "MY_CDIALOG_CLASS_NAME";

} // namespace

HWND CDialog::Create(HINSTANCE instance, int dialogTemplate, HWND parent)
{
    hInstance = instance;
    templateId = dialogTemplate;
    hWndParent = parent;
    return Create();
}

HWND CDialog::Create()
{
    hWnd = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(templateId), hWndParent, DialogProcThunk,
                              reinterpret_cast<LPARAM>(this));
    return hWnd;
}

// Messages that come before WM_INITDIALOG (WM_SETFONT, the creation messages) find no object yet.
INT_PTR CALLBACK CDialog::DialogProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return dialog ? dialog->DialogProc(hwnd, message, wParam, lParam) : FALSE;
}

// A handler's result is the dialog procedure's, zero or not; only WM_NOTIFY carries its answer in
// DWLP_MSGRESULT. Unrouted messages get DefWindowProcA's answer through DefaultProc, so the controls'
// colour messages leave the system colours in place.
INT_PTR CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG && lParam)
    {
        auto* created = reinterpret_cast<CDialog*>(lParam);
        created->hWnd = hwnd;
        SetPropA(hwnd, DialogProperty, created);
    }
    CDialog* self = static_cast<CDialog*>(GetPropA(hwnd, DialogProperty));
    if (!self)
        return FALSE;

    LRESULT result = 0;
    const auto messageResult = [&](LRESULT answer) -> INT_PTR {
        if (!answer)
            return self->DefaultProc(message, wParam, lParam);
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    };
    const WORD low = LOWORD(lParam);
    const WORD high = HIWORD(lParam);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);

    switch (message)
    {
    case WM_DESTROY: return self->OnDestroy();
    case WM_SIZE: return self->OnSize(wParam, low, high);
    case WM_SETFOCUS: return self->OnSetFocus(wParam);
    case WM_PAINT: return self->OnPaint(wParam);
    case WM_CLOSE: return self->OnClose();
    case WM_SHOWWINDOW: return self->OnShowWindow(wParam, lParam);
    case WM_NEXTDLGCTL: return self->OnSetFocus(wParam);
    case WM_DRAWITEM: return self->OnDrawItem(wParam, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_WINDOWPOSCHANGED: return self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_NOTIFY: return messageResult(self->OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam), &result));
    case WM_DISPLAYCHANGE: return self->OnDisplayChange(wParam, low, high);
    case WM_NCDESTROY: return self->ReleaseBinding(DialogProperty, hwnd, message, wParam, lParam);
    case WM_NCMOUSEMOVE: return self->OnNcMouseMove(wParam, x, y);
    case WM_KEYDOWN: return self->OnKeyDown(wParam, low, high);
    case WM_KEYUP: return self->OnKeyUp(wParam, low, high);
    case WM_INITDIALOG: return self->OnInitDialog();
    case WM_COMMAND:
        return self->OnCommand(HIWORD(wParam), LOWORD(wParam), CWnd(reinterpret_cast<HWND>(lParam)));
    case WM_SYSCOMMAND: return self->OnSysCommand(wParam, lParam, high);
    case WM_TIMER: return self->OnTimer(wParam);
    case WM_MOUSEMOVE: return self->OnMouseMove(wParam, x, y);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: return self->OnSetFocus(wParam);
    case WM_DROPFILES: return self->OnDropFiles(wParam, 1);
    default: return self->DefaultProc(message, wParam, lParam);
    }
}
