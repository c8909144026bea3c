#pragma once

#include "schedule/Handles_win.h"
#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DpiScaling.h"

#include <windows.h>

// Lays a dialog out again when its DPI changes, as the dialog manager lays it out when it is created at that
// DPI: every control at its template place in the base units of the template's font at the new DPI, the
// controls that use the dialog's font given it at the new DPI, the dialog sized to its template. The banner's
// bitmap is stretched to each DPI. Windows' own handling of a dialog's DPI changes (Windows 10 1703 and
// later) is switched off: it answers WM_DPICHANGED, which only a top-level window receives (this dialog is a
// child), and it would send every control a font of its own making over the program's.
class DialogScaling
{
public:
    // Reads the dialog's template and notes the DPI the dialog was made at. False when the template cannot
    // be read: the dialog then keeps the layout it was made with at every DPI.
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
    // after.
    void Apply(unsigned newDpi);

private:
    // The template font at a DPI, and its base units.
    HFONT MakeDialogFont(unsigned dpiWanted) const;
    DialogBaseUnits BaseUnitsAt(unsigned dpiWanted) const;

    HWND dialog = nullptr;
    HINSTANCE instance = nullptr;
    unsigned dpi = DefaultDpi;
    DialogLayout layout;
    bool read = false;
    // The dialog's own font as the dialog manager made it: face, weight, character set.
    LOGFONTW dialogFontSpec = {};
    // The template font made for a DPI other than the creation's (the dialog manager owns that one).
    UniqueFont dialogFont;
    int bannerId = 0;
    int bitmapId = 0;
    UniqueBitmap banner;
};
