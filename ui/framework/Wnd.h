#pragma once

#include <windows.h>

// Binds one object to one window and turns the messages the window receives into calls of virtual
// handlers. A CWnd is also a plain copyable value that merely names a window (GetParent, GetDlgItem, the
// control of OnCommand): such a value is not bound, and copying or destroying it leaves the window alone.
//
// Objects outlive their windows: the framework never frees an object, and a destroyed window leaves `hWnd`
// holding its old handle.
class CWnd
{
public:
    CWnd() = default;
    explicit CWnd(HWND window) : hWnd(window) {}
    CWnd(const CWnd&) = default;
    CWnd& operator=(const CWnd&) = default;
    virtual ~CWnd() = default;

    // Takes the window over: its procedure becomes `prevWndProc` and `newProc` is installed in its place.
    virtual bool Attach(HWND window, WNDPROC newProc);
    virtual bool Subclass(HWND window);
    // Gives the window back and returns the handle that was bound.
    virtual HWND Detach(WNDPROC expectedProc);
    virtual HWND Unsubclass();

    // Handlers: 0 means "not handled" to WndProc (the message goes on to DefaultProc) and FALSE to a dialog.
    virtual void OnOK();
    virtual void OnCancel();
    virtual LRESULT OnClose();
    virtual LRESULT OnCommand(WORD notifyCode, WORD id, CWnd control);
    virtual LRESULT OnCreate(CREATESTRUCTA* create);
    virtual LRESULT OnCtlColor(HDC dc, HWND control, LRESULT* result);
    virtual LRESULT OnDestroy();
    virtual LRESULT OnDisplayChange(WPARAM colorDepth, WORD width, WORD height);
    virtual LRESULT OnDrawItem(WPARAM controlId, DRAWITEMSTRUCT* item);
    virtual LRESULT OnDropFiles(WPARAM drop, LPARAM extra);
    virtual LRESULT OnReserved(DWORD value);
    virtual LRESULT OnSetFocus(WPARAM wParam);
    virtual LRESULT OnInitDialog();
    virtual LRESULT OnKeyDown(WPARAM key, WORD repeatCount, WORD flags);
    virtual LRESULT OnKeyUp(WPARAM key, WORD repeatCount, WORD flags);
    virtual LRESULT OnMouseMove(WPARAM keys, int x, int y);
    virtual LRESULT OnNcMouseMove(WPARAM hitTest, int x, int y);
    virtual LRESULT OnNotify(WPARAM controlId, NMHDR* header, LRESULT* result);
    virtual LRESULT OnPaint(WPARAM wParam);
    virtual LRESULT OnShowWindow(WPARAM shown, LPARAM status);
    virtual LRESULT OnSize(WPARAM type, WORD width, WORD height);
    virtual LRESULT OnSysCommand(WPARAM command, LPARAM lParam, WORD highWord);
    virtual LRESULT OnTimer(WPARAM timerId);
    virtual LRESULT OnWindowPosChanged(WINDOWPOS* position);
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    CWnd GetParent();
    CWnd GetDlgItem(int id) const;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE hInstance = nullptr;
    HWND hWnd = nullptr;
    HWND hWndParent = nullptr;
    WNDPROC prevWndProc = nullptr;

protected:
    // WM_NCDESTROY in both dispatchers.
    LRESULT ReleaseBinding(const char* property, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
