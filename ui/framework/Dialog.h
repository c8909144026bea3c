#pragma once

#include "ui/framework/Wnd.h"

// A modeless dialog made from a dialog template, its messages turned into the same handler calls as a
// window's. A handler's 0 is the dialog procedure's FALSE, so the dialog manager applies its own default.
class CDialog : public CWnd
{
public:
    virtual INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Sets `hInstance`, `templateId` and `hWndParent`, then creates the dialog as Create() does.
    HWND Create(HINSTANCE instance, int dialogTemplate, HWND parent);
    // Creates the dialog from template `templateId` of `hInstance`, as a child or owned window of
    // `hWndParent`. OnInitDialog runs inside this call with `hWnd` already set. Returns the dialog, which is
    // also stored in `hWnd`; 0 when no dialog could be made.
    HWND Create();

    // The dialog procedure to give the platform, with the object as the initialisation parameter.
    static INT_PTR CALLBACK DialogProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId = 0;
};
