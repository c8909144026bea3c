#include "ui/framework/Wnd.h"

#include <windowsx.h>

namespace
{

const char WindowProperty[] = "MY_CWND_CLASS_NAME";

WNDPROC WindowProcedureOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void InstallWindowProcedure(HWND window, WNDPROC procedure)
{
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

} // namespace

bool CWnd::Attach(HWND window, WNDPROC newProc)
{
    if (!window)
        return false;
    prevWndProc = WindowProcedureOf(window);
    SetPropA(window, WindowProperty, this);
    hWnd = window;
    hWndParent = ::GetParent(window);
    InstallWindowProcedure(window, newProc);
    return true;
}

bool CWnd::Subclass(HWND window)
{
    return Attach(window, WndProc);
}

HWND CWnd::Detach(WNDPROC expectedProc)
{
    const HWND bound = hWnd;
    if (!prevWndProc)
        return bound;
    RemovePropA(hWnd, WindowProperty);
    // Someone who subclassed the window after us still holds our procedure as theirs: leave theirs in place.
    if (WindowProcedureOf(hWnd) == expectedProc)
        InstallWindowProcedure(hWnd, prevWndProc);
    hWnd = nullptr;
    return bound;
}

HWND CWnd::Unsubclass()
{
    return Detach(WndProc);
}

void CWnd::OnOK()
{
    if (hWnd)
        EndDialog(hWnd, IDOK);
}

void CWnd::OnCancel()
{
    if (hWnd)
        EndDialog(hWnd, IDCANCEL);
}

LRESULT CWnd::OnClose()
{
    return 0;
}

LRESULT CWnd::OnCommand(WORD, WORD id, CWnd)
{
    switch (id)
    {
    case IDOK: OnOK(); return 1;
    case IDCANCEL: OnCancel(); return 1;
    default: return 0;
    }
}

LRESULT CWnd::OnCreate(CREATESTRUCTA*)
{
    return 0;
}

LRESULT CWnd::OnCtlColor(HDC, HWND, LRESULT*)
{
    return 0;
}

LRESULT CWnd::OnDestroy()
{
    return 0;
}

LRESULT CWnd::OnDisplayChange(WPARAM, WORD, WORD)
{
    return 0;
}

LRESULT CWnd::OnDrawItem(WPARAM, DRAWITEMSTRUCT*)
{
    return 0;
}

LRESULT CWnd::OnDropFiles(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CWnd::OnReserved(DWORD)
{
    return 0;
}

LRESULT CWnd::OnSetFocus(WPARAM)
{
    return 0;
}

LRESULT CWnd::OnInitDialog()
{
    return 0;
}

LRESULT CWnd::OnKeyDown(WPARAM, WORD, WORD)
{
    return 0;
}

LRESULT CWnd::OnKeyUp(WPARAM, WORD, WORD)
{
    return 0;
}

LRESULT CWnd::OnMouseMove(WPARAM, int, int)
{
    return 0;
}

LRESULT CWnd::OnNcMouseMove(WPARAM, int, int)
{
    return 0;
}

LRESULT CWnd::OnNotify(WPARAM, NMHDR*, LRESULT*)
{
    return 0;
}

LRESULT CWnd::OnPaint(WPARAM)
{
    return 0;
}

LRESULT CWnd::OnShowWindow(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CWnd::OnSize(WPARAM, WORD, WORD)
{
    return 0;
}

LRESULT CWnd::OnSysCommand(WPARAM, LPARAM, WORD)
{
    return 0;
}

LRESULT CWnd::OnTimer(WPARAM)
{
    return 0;
}

LRESULT CWnd::OnWindowPosChanged(WINDOWPOS*)
{
    return 0;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (prevWndProc)
        return CallWindowProcA(prevWndProc, hWnd, message, wParam, lParam);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

CWnd CWnd::GetParent()
{
    if (!hWnd)
        return CWnd();
    hWndParent = ::GetParent(hWnd);
    return CWnd(hWndParent);
}

CWnd CWnd::GetDlgItem(int id) const
{
    return CWnd(hWnd ? ::GetDlgItem(hWnd, id) : nullptr);
}

// The window's remaining messages no longer find this object, which is neither told nor freed (it outlives
// its window and keeps `hWnd`); the procedure the window had before us, if any, still sees the message.
LRESULT CWnd::ReleaseBinding(const char* property, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    RemovePropA(hwnd, property);
    return prevWndProc ? CallWindowProcA(prevWndProc, hwnd, message, wParam, lParam) : 0;
}

// A handler's 0 means "not handled": the message goes on to DefaultProc (for a subclassed window, to the
// window's own procedure). Keyboard messages always go on, so the window keeps its own key handling.
LRESULT CALLBACK CWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE && lParam)
    {
        // A window whose class procedure is WndProc is bound by passing its object to CreateWindowExA.
        if (auto* created = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams))
        {
            created->hWnd = hwnd;
            SetPropA(hwnd, WindowProperty, created);
        }
    }
    CWnd* self = static_cast<CWnd*>(GetPropA(hwnd, WindowProperty));
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    const auto handled = [&](LRESULT answer) {
        return answer ? answer : self->DefaultProc(message, wParam, lParam);
    };
    const auto passedOn = [&](LRESULT) { return self->DefaultProc(message, wParam, lParam); };
    const auto answered = [&](LRESULT answer) {
        return answer ? result : self->DefaultProc(message, wParam, lParam);
    };
    const WORD low = LOWORD(lParam);
    const WORD high = HIWORD(lParam);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);

    switch (message)
    {
    case WM_CREATE: return handled(self->OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)));
    case WM_DESTROY: return handled(self->OnDestroy());
    case WM_SIZE: return handled(self->OnSize(wParam, low, high));
    case WM_SETFOCUS: return handled(self->OnSetFocus(wParam));
    case WM_PAINT: return handled(self->OnPaint(wParam));
    case WM_CLOSE: return handled(self->OnClose());
    case WM_SHOWWINDOW: return handled(self->OnShowWindow(wParam, lParam));
    case WM_DRAWITEM: return handled(self->OnDrawItem(wParam, reinterpret_cast<DRAWITEMSTRUCT*>(lParam)));
    case WM_WINDOWPOSCHANGED: return handled(self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)));
    case WM_NOTIFY: return answered(self->OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam), &result));
    case WM_DISPLAYCHANGE: return handled(self->OnDisplayChange(wParam, low, high));
    case WM_NCDESTROY: return self->ReleaseBinding(WindowProperty, hwnd, message, wParam, lParam);
    case WM_NCMOUSEMOVE: return handled(self->OnNcMouseMove(wParam, x, y));
    case WM_KEYDOWN: return passedOn(self->OnKeyDown(wParam, low, high));
    case WM_KEYUP: return passedOn(self->OnKeyUp(wParam, low, high));
    case WM_INITDIALOG: return handled(self->OnInitDialog());
    case WM_COMMAND:
        return handled(self->OnCommand(HIWORD(wParam), LOWORD(wParam), CWnd(reinterpret_cast<HWND>(lParam))));
    case WM_SYSCOMMAND: return handled(self->OnSysCommand(wParam, lParam, high));
    case WM_TIMER: return handled(self->OnTimer(wParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return answered(
            self->OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), &result));
    case WM_MOUSEMOVE: return handled(self->OnMouseMove(wParam, x, y));
    case WM_DROPFILES: return handled(self->OnDropFiles(wParam, lParam));
    default: return self->DefaultProc(message, wParam, lParam);
    }
}
