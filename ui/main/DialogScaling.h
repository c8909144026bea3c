#pragma once

#include "base/Handles_win.h"
#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DpiScaling.h"

#include <windows.h>

// Lays a dialog out for its DPI: the layout the dialog manager gives it at 96 DPI, every edge scaled as a
// 96-DPI length. The program's fonts are 96-DPI heights scaled the same way, so each caption has at every DPI
// the room it has at 96; the dialog manager's own layout at another DPI follows the template font's letter
// widths, which grow by less at 125 % (7 pixels for 6, where 7.5 would keep pace) and would cut captions off.
// The controls that use the dialog's font get it made for the DPI, the banner's bitmap is stretched once to
// each DPI. Windows' own handling of a dialog's DPI changes (Windows 10 1703 and later) is switched off: it
// answers WM_DPICHANGED, which only a top-level window receives (this dialog is a child), and it would lay
// the dialog out in its own way and send every control a font of its own making over the program's. The main
// window lays the dialog out in its own WM_DPICHANGED; the WM_DPICHANGED_AFTERPARENT that Windows then sends
// down the window tree (per-monitor v2) finds everything done, and on Windows 8.1 (per-monitor v1, which has
// no such message) the same WM_DPICHANGED does all of it.
class DialogScaling
{
public:
    // Reads the dialog's template and lays the dialog out for the DPI it was made at (at 96 DPI it stays as
    // the dialog manager made it). False when the template cannot be read: the dialog then keeps the layout
    // it was made with at every DPI.
    bool Attach(HWND dialog, HINSTANCE instance, int templateId);
    bool Attached() const { return read; }
    // The DPI the dialog is laid out for.
    unsigned Dpi() const { return dpi; }
    // The dialog's size and a control's place (in the dialog) at `dpiWanted`, in pixels.
    PixelSize DialogSizeAt(unsigned dpiWanted) const;
    PixelRect ControlRectAt(int id, unsigned dpiWanted) const;
    // Shows the banner (bitmap `bitmapId` in static `bannerId`) at the size it has at the dialog's DPI.
    void ShowBanner(int bannerId, int bitmapId);
    // Moves, sizes and refonts everything for `newDpi`; the program's own fonts are the caller's to send
    // after, and then KeepCaptionsRoom.
    void Apply(unsigned newDpi);
    // Away from 96 DPI, widens each one-line label, check box and radio button that its caption outgrew,
    // where the room beside it is free: text and a box do not grow exactly with the DPI (a font's hinting
    // rounds each letter, a theme draws its box at its own sizes), and a caption that just fits at 96 DPI
    // would lose its last letter or, in a label, wrap its last word out of sight. Called once the controls
    // have their fonts and captions.
    void KeepCaptionsRoom();

private:
    // The template font at a DPI.
    HFONT MakeDialogFont(unsigned dpiWanted) const;
    // Every control at its place, the dialog at its size, for `dpi`.
    void Place();

    HWND dialog = nullptr;
    HINSTANCE instance = nullptr;
    unsigned dpi = DefaultDpi;
    DialogLayout layout;
    // The base units of the template font at 96 DPI.
    DialogBaseUnits units = {};
    bool read = false;
    // The dialog's own font as the dialog manager made it: face, weight, character set.
    LOGFONTW dialogFontSpec = {};
    // The template font made for a DPI the dialog came to later (the dialog manager owns the first one).
    UniqueFont dialogFont;
    int bannerId = 0;
    int bitmapId = 0;
    UniqueBitmap banner;
};
