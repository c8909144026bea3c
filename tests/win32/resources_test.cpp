// What the program's resources show a user and tell other programs, read back from Windows: the scheduler
// dialog as it runs (the kind, caption, font and place of each control), the tray menu as the tray shows it,
// the strings, the version fields, the manifest as the loader reads it, and the pictures. This test program
// links the same resource object as chronel.exe.
#include "DialogHarness.h"

#include "resources/Maker.h"
#include "ui/tray/SystemTray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// What each kind of control is to a user: its window class, and the style bits that make it so (each
// class's own low word, the group and the tab stop). The frames of edits and lists are left out: a control
// may trade WS_BORDER for a 3-D edge, and an empty list hides its scroll bar. A radio button is a tab stop
// while it is checked, so that Tab reaches the checked button of each pair.
enum Kind
{
    DefaultButton, // the button Enter presses
    Button,
    CheckBox,    // ticks and clears itself when clicked
    RadioButton, // clears the other button of its pair; a tab stop only while checked, never a group's start
    Frame,       // a group box
    Text,        // wraps its words; every text starts a group, which keeps the radio pairs apart
    RightText,
    ClickableText, // tells its parent when it is clicked
    PathText,      // sunken, centred both ways, a long path shortened in its middle
    Picture,
    NumberEdit, // takes digits only, centred
    NameEdit,
    SortedList, // keeps its items in order and tells its parent when the selection changes
    Spin,       // writes its value into the edit beside it, steps with the arrow keys
};
const struct
{
    const char* windowClass;
    DWORD style;
} Kinds[] = {
    {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"Button", BS_PUSHBUTTON | WS_TABSTOP},
    {"Button", BS_AUTOCHECKBOX | WS_TABSTOP},
    {"Button", BS_AUTORADIOBUTTON},
    {"Button", BS_GROUPBOX},
    {"Static", SS_LEFT | WS_GROUP},
    {"Static", SS_RIGHT | WS_GROUP},
    {"Static", SS_LEFT | SS_NOTIFY | WS_GROUP},
    {"Static", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_PATHELLIPSIS | WS_GROUP},
    {"Static", SS_BITMAP},
    {"Edit", ES_CENTER | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP},
    {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP},
    {"ListBox", LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_TABSTOP},
    {"msctls_updown32", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_HOTTRACK},
};

bool IsText(Kind kind)
{
    return kind == Text || kind == RightText || kind == ClickableText;
}

enum Font
{
    TitleFont,
    BoldFont,
    NormalFont,
    ConfirmFont,
    SmallFont,
    DialogFont, // the template's
    NoFont,     // draws no text
};

// One control as the user meets it once the dialog has started (with the clock at 08:05 and no media list):
// its kind, its caption, its font, and the group box it sits in (0: none).
struct Shown
{
    int id;
    Kind kind;
    std::string caption;
    Font font;
    int group;
};

// The dialog's controls from the top of its z-order down, which is also the order of Tab.
const Shown Controls[] = {
    {IDOK, DefaultButton, "OK", NormalFont, 0},
    {IDC_TITLE_TITLE, Text, "Sylvane Programmateur", TitleFont, 0},
    {IDC_BANNER, Picture, "", NoFont, 0},
    {IDC_TITLE_ACTIVE, ClickableText, "Programmes activés", BoldFont, IDC_GROUP_MAIN},
    {IDC_BUTTON_ACTIVE, Button, "Désactiver", NormalFont, IDC_GROUP_MAIN},
    {IDC_TITLE_LIST, Text, "Liste des médias", BoldFont, IDC_GROUP_MAIN},
    {IDC_BUTTON_LIST, Button, "Charger", NormalFont, IDC_GROUP_MAIN},
    {IDC_TEXT_LIST, PathText, "Aucune liste n'est actuellement chargée !", SmallFont, IDC_GROUP_MAIN},
    {IDC_GROUP_LIST, Frame, "Définition d'un programme", NormalFont, 0},
    {IDC_GROUP_PROG, Frame, "Programmes définis", NormalFont, 0},
    {IDC_GROUP_MAIN, Frame, "Options générales", NormalFont, 0},
    {IDC_MEDIA_LIST, SortedList, "", DialogFont, IDC_GROUP_LIST},
    {IDC_PROGRAM_LIST, SortedList, "", DialogFont, IDC_GROUP_PROG},
    {IDC_DAY1, CheckBox, "lundi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY2, CheckBox, "mardi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY3, CheckBox, "mercredi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY4, CheckBox, "jeudi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY5, CheckBox, "vendredi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY6, CheckBox, "samedi", NormalFont, IDC_GROUP_LIST},
    {IDC_DAY7, CheckBox, "dimanche", NormalFont, IDC_GROUP_LIST},
    {IDC_ALL_DAYS, CheckBox, "tous", NormalFont, IDC_GROUP_LIST},
    {IDC_HOUR, NumberEdit, "12", BoldFont, IDC_GROUP_LIST},
    {IDC_MINUTE, NumberEdit, "00", BoldFont, IDC_GROUP_LIST},
    {IDC_HOUR_SPIN, Spin, "", NoFont, IDC_GROUP_LIST},
    {IDC_MINUTE_SPIN, Spin, "", NoFont, IDC_GROUP_LIST},
    {IDC_BUTTON_ADD, Button, "Ajouter", NormalFont, IDC_GROUP_LIST},
    {IDC_BUTTON_REMOVE, Button, "Retirer", DialogFont, IDC_GROUP_PROG},
    {IDC_PROGRAM_NAME, NameEdit, "", DialogFont, IDC_GROUP_LIST},
    {IDC_TITLE_PROGNAME, Text, "Nom du programme", BoldFont, IDC_GROUP_LIST},
    {IDC_TITLE_LIST2, Text, "Choix du média", BoldFont, IDC_GROUP_LIST},
    {IDC_TITLE_DAY, Text, "Choix du/des jour(s)", BoldFont, IDC_GROUP_LIST},
    {IDC_TITLE_TIME, Text, "Choix de l'heure", BoldFont, IDC_GROUP_LIST},
    {IDC_TITLE_REPEAT, Text, "Répétition ?", BoldFont, IDC_GROUP_LIST},
    {IDC_REPEAT_YES, RadioButton, "oui", NormalFont, IDC_GROUP_LIST},
    {IDC_REPEAT_NO, RadioButton, "non", NormalFont, IDC_GROUP_LIST},
    {IDC_TEXT_REPEAT, Text,
     "Sans répétition, le programme ne sera lancé qu'une fois, sauf s'il est sur plusieurs jours.", SmallFont,
     IDC_GROUP_LIST},
    {IDC_TEXT_LIST3, Text,
     "Si aucun média n'est visible ici, c'est qu'il faut charger une nouvelle liste de média en cliquant sur "
     "le bouton \"charger\" situé à droite.",
     SmallFont, IDC_GROUP_LIST},
    {IDC_TITLE_INFO1, Text, "Nom du programme", BoldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO2, Text, "Jour(s) d'activation", BoldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO3, Text, "Heure d'activation", BoldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO4, Text, "Options", BoldFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO1, Text, "Aucun nom", SmallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO2, Text, "Aucun jour", SmallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO3, Text, "Aucune heure", SmallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO4, Text, "Aucune confirmation", SmallFont, IDC_GROUP_PROG},
    {IDC_TITLE_MEROVIA, RightText, MakerCopyright, TitleFont, 0},
    {IDC_TITLE_TIME2, RightText, "Il est 08 h et 05 min.", BoldFont, 0},
    {IDC_TITLE_CONFIRM, Text, "Confirmer le lancement ?", ConfirmFont, IDC_GROUP_LIST},
    {IDC_CONFIRM_YES, RadioButton, "oui", NormalFont, IDC_GROUP_LIST},
    {IDC_CONFIRM_NO, RadioButton, "non", NormalFont, IDC_GROUP_LIST},
    {IDC_BUTTON_QUIT, Button, "Quitter", NormalFont, 0},
    {IDC_BUTTON_WMP, Button, "Lancer Media Player", NormalFont, 0},
    {IDC_BUTTON_MEROVIA, Button, std::string("Visiter ") + MakerSiteName, NormalFont, 0},
    {IDC_TEXT_INFO1B, Text, "Aucun média", SmallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO5, Text, "Aucune répétition", SmallFont, IDC_GROUP_PROG},
};

// Captions the switch shows later, which must fit as well.
const struct
{
    int id;
    Kind kind;
    const char* caption;
} LaterCaptions[] = {{IDC_TITLE_ACTIVE, ClickableText, "Programmes désactivés"},
                     {IDC_BUTTON_ACTIVE, Button, "Activer"}};

// Controls a user reads as one column share their left edge; as one row, their top; as one set, their width
// or their whole size.
enum Line
{
    LeftEdge,
    Top,
    Width,
    Size,
};
const struct
{
    Line line;
    std::vector<int> ids;
} Lines[] = {
    {LeftEdge,
     {IDC_TITLE_TITLE, IDC_TITLE_PROGNAME, IDC_TITLE_LIST2, IDC_TEXT_LIST3, IDC_TITLE_DAY, IDC_TITLE_TIME,
      IDC_TITLE_CONFIRM, IDC_TITLE_REPEAT, IDC_TEXT_REPEAT, IDC_BUTTON_MEROVIA}},
    {LeftEdge, {IDC_PROGRAM_NAME, IDC_MEDIA_LIST}},
    {LeftEdge, {IDC_DAY1, IDC_DAY2, IDC_DAY3, IDC_DAY4, IDC_CONFIRM_YES, IDC_REPEAT_YES}},
    {LeftEdge, {IDC_DAY5, IDC_DAY6, IDC_DAY7, IDC_ALL_DAYS, IDC_CONFIRM_NO, IDC_REPEAT_NO}},
    {LeftEdge,
     {IDC_TITLE_MEROVIA, IDC_TITLE_INFO1, IDC_TITLE_INFO2, IDC_TITLE_INFO3, IDC_TITLE_INFO4, IDC_TITLE_ACTIVE,
      IDC_TITLE_LIST, IDC_TEXT_LIST}},
    {LeftEdge,
     {IDC_TEXT_INFO1, IDC_TEXT_INFO1B, IDC_TEXT_INFO2, IDC_TEXT_INFO3, IDC_TEXT_INFO4, IDC_TEXT_INFO5}},
    {LeftEdge, {IDC_BUTTON_REMOVE, IDC_BUTTON_ACTIVE, IDC_BUTTON_LIST, IDOK}},
    {LeftEdge, {IDC_GROUP_PROG, IDC_GROUP_MAIN}},
    {Top, {IDC_BUTTON_MEROVIA, IDC_BUTTON_WMP, IDC_BUTTON_QUIT, IDOK}},
    {Top, {IDC_TITLE_TIME, IDC_HOUR, IDC_HOUR_SPIN, IDC_MINUTE, IDC_MINUTE_SPIN}},
    {Top, {IDC_DAY1, IDC_DAY5}},
    {Top, {IDC_DAY2, IDC_DAY6}},
    {Top, {IDC_DAY3, IDC_DAY7}},
    {Top, {IDC_DAY4, IDC_ALL_DAYS}},
    {Top, {IDC_TITLE_CONFIRM, IDC_CONFIRM_YES, IDC_CONFIRM_NO}},
    {Top, {IDC_TITLE_REPEAT, IDC_REPEAT_YES, IDC_REPEAT_NO}},
    {Top, {IDC_TITLE_PROGNAME, IDC_TITLE_INFO1}},
    {Top, {IDC_PROGRAM_NAME, IDC_PROGRAM_LIST}},
    {Top, {IDC_GROUP_LIST, IDC_GROUP_PROG}},
    {Width, {IDC_GROUP_LIST, IDC_GROUP_PROG, IDC_GROUP_MAIN}},
    {Width, {IDC_PROGRAM_NAME, IDC_MEDIA_LIST, IDC_PROGRAM_LIST}},
    {Size, {IDOK, IDC_BUTTON_ACTIVE, IDC_BUTTON_LIST, IDC_BUTTON_REMOVE, IDC_BUTTON_QUIT, IDC_BUTTON_ADD}},
    {Size, {IDC_BUTTON_WMP, IDC_BUTTON_MEROVIA}},
    {Size, {IDC_DAY1, IDC_DAY2, IDC_DAY3, IDC_DAY4, IDC_DAY5, IDC_DAY6, IDC_DAY7, IDC_ALL_DAYS}},
    {Size, {IDC_HOUR, IDC_MINUTE}},
    {Size, {IDC_HOUR_SPIN, IDC_MINUTE_SPIN}},
};

bool Overlap(const RECT& a, const RECT& b, RECT& shared)
{
    return IntersectRect(&shared, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The scheduler dialog as the application creates it, initialised, in the stand-in main window.
class RunningDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ASSERT_NE(harness.Create(), nullptr);
        dialog = harness.dialog.hWnd;
    }

    HWND Control(int id) const { return GetDlgItem(dialog, id); }
    // Where the control is, in the dialog's client pixels.
    RECT Place(int id) const
    {
        RECT rect = {};
        GetWindowRect(Control(id), &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT Pixels(int cx, int cy) const
    {
        RECT rect = {0, 0, cx, cy};
        MapDialogRect(dialog, &rect);
        return rect;
    }
    DWORD StyleOf(const Shown& control) const
    {
        const bool checkedRadio = control.kind == RadioButton && harness.Checked(control.id);
        return Kinds[control.kind].style | (checkedRadio ? WS_TABSTOP : 0);
    }
    HFONT FontOf(Font font) const
    {
        switch (font)
        {
        case TitleFont: return titleFont.Get();
        case BoldFont: return boldFont.Get();
        case NormalFont: return normalFont.Get();
        case ConfirmFont: return confirmFont.Get();
        case SmallFont: return smallFont.Get();
        default: return reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        }
    }
    // The room `caption` takes in the control, in its font, as the control lays it out: its text on one line
    // (wrapped at the control's width for a text), plus the control's own parts beside it. The bottom of the
    // last line's descent may fall outside: the letters' bodies and accents are what must show.
    SIZE Needed(int id, Kind kind, const std::string& caption) const
    {
        HWND control = Control(id);
        RECT client = {};
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        RECT text = {0, 0, client.right, 0};
        DrawTextA(dc, caption.c_str(), -1, &text,
                  DT_CALCRECT | (IsText(kind) ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        ReleaseDC(control, dc);

        LONG beside = 0;
        if (kind == DefaultButton || kind == Button)
            beside = 2 * GetSystemMetrics(SM_CXBORDER); // the frame
        else if (kind == CheckBox || kind == RadioButton)
            beside = GetSystemMetrics(SM_CXMENUCHECK); // the box or the circle
        else if (kind == Frame)
            beside = 2 * metrics.tmAveCharWidth; // the frame's corners either side of the caption
        else if (kind == NumberEdit || kind == NameEdit)
        {
            const LRESULT margins = SendMessageA(control, EM_GETMARGINS, 0, 0);
            beside = LOWORD(margins) + HIWORD(margins);
        }
        return {text.right + beside, text.bottom - metrics.tmDescent};
    }

    DialogHarness harness;
    HWND dialog = nullptr;
};

} // namespace

TEST_F(RunningDialog, IsAChildOfItsSizeInTheShellFontAtTheMainWindowsCorner)
{
    char name[64] = {};
    GetClassNameA(dialog, name, sizeof name);
    EXPECT_STREQ(name, "#32770") << "the class other programs look the dialog up by";
    // A child without caption or frame, in the shell's dialog font (DS_SHELLFONT: Windows maps "MS Shell Dlg"
    // to the system's own dialog face).
    const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_POPUP | WS_THICKFRAME | DS_SHELLFONT),
              WS_CHILD | WS_VISIBLE | DS_SHELLFONT);
    EXPECT_EQ(GetParent(dialog), harness.main.Get());

    RECT place = {}, client = {};
    GetWindowRect(dialog, &place);
    MapWindowPoints(nullptr, harness.main.Get(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 0);
    GetClientRect(dialog, &client);
    const RECT size = Pixels(489, 304);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    LOGFONTA font = {};
    ASSERT_NE(GetObjectA(FontOf(DialogFont), sizeof font, &font), 0);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_FALSE(font.lfItalic);
}

TEST_F(RunningDialog, EachControlIsOfItsKindAndShowsItsCaptionInItsFont)
{
    for (const Shown& want : Controls)
    {
        SCOPED_TRACE("control " + std::to_string(want.id));
        HWND control = Control(want.id);
        ASSERT_NE(control, nullptr);
        char name[64] = {};
        GetClassNameA(control, name, sizeof name);
        EXPECT_EQ(lstrcmpiA(name, Kinds[want.kind].windowClass), 0) << name;
        const DWORD kept = 0xFFFF | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
        EXPECT_EQ(GetWindowLongPtrA(control, GWL_STYLE) & kept, WS_CHILD | WS_VISIBLE | StyleOf(want));
        // No extended style but the edges that the frames and the sunken look become.
        EXPECT_EQ(GetWindowLongPtrA(control, GWL_EXSTYLE) &
                      ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_NOPARENTNOTIFY),
                  0);
        if (want.kind != Picture)
            EXPECT_EQ(harness.Text(want.id), want.caption);
        if (want.font != NoFont)
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), FontOf(want.font));
    }
}

TEST_F(RunningDialog, ZOrderAndTabOrderAreTheOrderOfTheForm)
{
    std::vector<int> expected, stacked;
    for (const Shown& control : Controls)
        expected.push_back(control.id);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        stacked.push_back(GetDlgCtrlID(child));
    EXPECT_EQ(stacked, expected);

    std::vector<int> tabStops, met;
    for (const Shown& control : Controls)
        if (StyleOf(control) & WS_TABSTOP)
            tabStops.push_back(control.id);
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && met.size() <= tabStops.size(); at = GetNextDlgTabItem(dialog, at, FALSE))
    {
        met.push_back(GetDlgCtrlID(at));
        if (GetNextDlgTabItem(dialog, at, FALSE) == first)
            break;
    }
    EXPECT_EQ(met, tabStops);
}

TEST_F(RunningDialog, EveryCaptionFitsItsControl)
{
    auto check = [this](int id, Kind kind, const std::string& caption) {
        SCOPED_TRACE("control " + std::to_string(id) + ", \"" + caption + "\"");
        RECT client = {};
        GetClientRect(Control(id), &client);
        const SIZE needed = Needed(id, kind, caption);
        EXPECT_LE(needed.cx, client.right);
        EXPECT_LE(needed.cy, client.bottom);
    };
    for (const Shown& control : Controls)
    {
        // The repetition note needs a fourth line where its control holds three: it is cut after "s'il est
        // sur". Kept as it is: the note's text and the form are the product's.
        if (control.id == IDC_TEXT_REPEAT || control.caption.empty())
            continue;
        check(control.id, control.kind, control.caption);
    }
    for (const auto& later : LaterCaptions)
        check(later.id, later.kind, later.caption);
}

TEST_F(RunningDialog, ControlsStayInTheDialogAndInTheirGroupAndOverlapNoOther)
{
    RECT client = {};
    GetClientRect(dialog, &client);
    // Texts stacked one above the other may share a dialog unit of height (and a pixel of rounding): each
    // draws its words from its top, so only blank rows meet.
    const LONG stackedTexts = Pixels(0, 1).bottom + 1;
    for (const Shown& a : Controls)
    {
        SCOPED_TRACE("control " + std::to_string(a.id));
        const RECT place = Place(a.id);
        EXPECT_TRUE(Inside(place, client));
        if (a.group)
        {
            RECT frame = Place(a.group);
            frame.top += Needed(a.group, Frame, harness.Text(a.group)).cy; // below the group's caption
            EXPECT_TRUE(Inside(place, frame)) << "outside group " << a.group;
        }
        for (const Shown& b : Controls)
        {
            RECT shared = {};
            if (a.id >= b.id || !Overlap(place, Place(b.id), shared) || a.group == b.id || b.group == a.id)
                continue;
            if (IsText(a.kind) && IsText(b.kind) && shared.bottom - shared.top <= stackedTexts)
                continue;
            ADD_FAILURE() << a.id << " overlaps " << b.id;
        }
    }
}

TEST_F(RunningDialog, ControlsReadAsOneColumnRowOrSetLineUp)
{
    for (const auto& line : Lines)
    {
        const RECT first = Place(line.ids.front());
        for (int id : line.ids)
        {
            SCOPED_TRACE(std::to_string(line.ids.front()) + " and " + std::to_string(id));
            const RECT place = Place(id);
            if (line.line == LeftEdge)
                EXPECT_EQ(place.left, first.left);
            if (line.line == Top)
                EXPECT_EQ(place.top, first.top);
            if (line.line == Width || line.line == Size)
                EXPECT_EQ(place.right - place.left, first.right - first.left);
            if (line.line == Size)
                EXPECT_EQ(place.bottom - place.top, first.bottom - first.top);
        }
    }
}

TEST_F(RunningDialog, BannerShowsItsBitmapAtItsOwnSize)
{
    const HANDLE image =
        reinterpret_cast<HANDLE>(SendMessageA(Control(IDC_BANNER), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bitmap = {};
    ASSERT_NE(GetObjectA(image, sizeof bitmap, &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, 47);
    EXPECT_EQ(bitmap.bmHeight, 474);
    const RECT place = Place(IDC_BANNER);
    EXPECT_EQ(place.right - place.left, 47);
    EXPECT_EQ(place.bottom - place.top, 474);
}

// A click on one radio button clears the other of its pair and leaves the other pair alone.
TEST_F(RunningDialog, RadioPairsAreSeparateGroups)
{
    const struct
    {
        int click;
        int checked[2];
    } steps[] = {
        {IDC_REPEAT_NO, {IDC_REPEAT_NO, IDC_CONFIRM_YES}},
        {IDC_CONFIRM_NO, {IDC_REPEAT_NO, IDC_CONFIRM_NO}},
        {IDC_REPEAT_YES, {IDC_REPEAT_YES, IDC_CONFIRM_NO}},
    };
    for (const auto& step : steps)
    {
        SendMessageA(Control(step.click), BM_CLICK, 0, 0);
        for (int id : {IDC_REPEAT_YES, IDC_REPEAT_NO, IDC_CONFIRM_YES, IDC_CONFIRM_NO})
            EXPECT_EQ(harness.Checked(id), id == step.checked[0] || id == step.checked[1])
                << "after " << step.click << ", " << id;
    }
    for (int day = IDC_DAY1; day <= IDC_DAY7; ++day)
        EXPECT_FALSE(harness.Checked(day));
}

namespace
{

// The tray, reading the menu it shows at the moment it shows it; the menu then closes by itself.
class TrayMenuReader : public CSystemTray
{
public:
    struct Item
    {
        UINT id;
        std::string caption; // "-" for a separator
        bool isDefault;
        bool opensSubmenu;
        bool operator==(const Item& other) const
        {
            return id == other.id && caption == other.caption && isDefault == other.isDefault &&
                   opensSubmenu == other.opensSubmenu;
        }
    };

    void PrepareMenu(HMENU menu) override
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
        {
            char caption[100] = {};
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
            info.dwTypeData = caption;
            info.cch = sizeof caption;
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            items.push_back({separator ? 0 : info.wID, separator ? "-" : caption,
                             (info.fState & MFS_DEFAULT) != 0, info.hSubMenu != nullptr});
        }
        SetTimer(nullptr, 0, 200, CloseMenu);
    }

    std::vector<Item> items;

private:
    static VOID CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        EndMenu();
    }
};

std::ostream& operator<<(std::ostream& out, const TrayMenuReader::Item& item)
{
    return out << '{' << item.id << " \"" << item.caption << "\"" << (item.isDefault ? " default" : "")
               << (item.opensSubmenu ? " submenu" : "") << '}';
}

} // namespace

TEST(TrayMenu, ShowsTheActionsWithOpeningTheSchedulerAsTheDefault)
{
    MainWindowStandIn window;
    TrayMenuReader tray;
    ASSERT_NE(
        tray.Install(window.Get(), LoadIconA(nullptr, IDI_APPLICATION), Module(), "Sylvane Programmateur"),
        FALSE);
    EXPECT_EQ(tray.OnIconMessage(CSystemTray::TRAY_ICON_ID, WM_RBUTTONUP), 1);
    const std::vector<TrayMenuReader::Item> want = {
        {ID_OPEN_SCHEDULER, "Ouvrir le Programmateur", true, false},
        {0, "-", false, false},
        {ID_LAUNCH_PLAYER, "Lancer Media Player...", false, false},
        {ID_VISIT_SITE, std::string("Visiter ") + MakerSiteName + "...", false, false},
        {0, "-", false, false},
        {ID_QUIT, "Quitter", false, false},
    };
    EXPECT_EQ(tray.items, want);
    tray.HideFromTray();
    PumpMessages();
}

TEST(StringTable, HoldsTheCaptionAndTheClassName)
{
    const struct
    {
        UINT id;
        const char* text;
    } strings[] = {{IDS_APP_CAPTION, "Sylvane Programmateur"}, {IDS_APP_CLASS, "CHRONEL"}};
    for (const auto& string : strings)
    {
        char buffer[100] = {};
        EXPECT_EQ(LoadStringA(Module(), string.id, buffer, sizeof buffer), lstrlenA(string.text));
        EXPECT_STREQ(buffer, string.text);
    }
}

TEST(Accelerators, AltQuestionMarkAndAltSlashAsCharacters)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 2);
    const WORD keys[] = {'?', '/'};
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(entries[i].fVirt & 0x7F, FALT) << "no FVIRTKEY, no other modifier";
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].cmd, ID_ACCEL_HELP);
    }
}

namespace
{

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

} // namespace

// Each resource once, in French, as resource tools and the loader list them; the manifest language-neutral,
// so that a default manifest a toolchain may add gives way to it instead of standing beside it.
TEST(Resources, EachIsThereOnceInFrenchAndTheManifestOnceLanguageNeutral)
{
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    const struct
    {
        LPCSTR type;
        int id;
        WORD language;
    } resources[] = {
        {RT_DIALOG, IDD_MAIN, french},
        {RT_MENU, IDR_TRAY_MENU, french},
        {RT_ACCELERATOR, IDR_ACCELERATORS, french},
        {RT_STRING, IDS_APP_CAPTION / 16 + 1, french},
        {RT_GROUP_ICON, IDI_APP_LARGE, french},
        {RT_GROUP_ICON, IDI_APP_SMALL, french},
        {RT_BITMAP, IDB_BANNER, french},
        {RT_VERSION, 1, french},
        {RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
    };
    for (const auto& resource : resources)
    {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(Module(), resource.type, MAKEINTRESOURCEA(resource.id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{resource.language}) << "resource " << resource.id;
    }
    std::vector<ULONG_PTR> manifests;
    EnumResourceNamesA(Module(), RT_MANIFEST, CollectName, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, std::vector<ULONG_PTR>{1});
}

// The manifest as the loader reads it: the program names itself and its processor (with a wrong processor
// Windows refuses the program), asks for no execution level (which would end the registry virtualisation
// that the machine-wide settings key relies on for standard users), and gets the common controls 6 from the
// side-by-side store.
TEST(Manifest, NamesTheProgramAndGetsCommonControls6WithoutAnExecutionLevel)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = Module();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    request.lpSource = path;
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);

    auto identity = [context](DWORD index) {
        SIZE_T size = 0;
        QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0, &size);
        std::vector<char> bytes(size + sizeof(ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION));
        const auto* info =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(bytes.data());
        if (!QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, bytes.data(),
                          bytes.size(), &size) ||
            !info->lpAssemblyEncodedAssemblyIdentity)
            return std::string();
        std::string text;
        for (const wchar_t* c = info->lpAssemblyEncodedAssemblyIdentity; *c; ++c)
            text += static_cast<char>(*c);
        return Lower(text);
    };
#if defined(_WIN64)
    const std::string processor = "processorarchitecture=\"amd64\"";
#else
    const std::string processor = "processorarchitecture=\"x86\"";
#endif
    const std::string program = identity(1), controls = identity(2);
    EXPECT_EQ(program.rfind("merovia.sylvane.programmateur,", 0), 0u) << program;
    EXPECT_NE(program.find(processor), std::string::npos) << program;
    EXPECT_EQ(controls.rfind("microsoft.windows.common-controls,", 0), 0u) << controls;
    EXPECT_NE(controls.find("publickeytoken=\"6595b64144ccf1df\""), std::string::npos) << controls;
    EXPECT_NE(controls.find("version=\"6.0."), std::string::npos) << controls;
    EXPECT_NE(controls.find(processor), std::string::npos) << controls;

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                             sizeof runLevel, nullptr));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_UNSPECIFIED);
    ReleaseActCtx(context);

    // This process started with that manifest: the common controls it loads are version 6's.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    char comctl[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), comctl, MAX_PATH);
    const std::string loaded = Lower(comctl);
    EXPECT_NE(loaded.find("\\winsxs\\"), std::string::npos) << loaded;
    EXPECT_NE(loaded.find("common-controls_6595b64144ccf1df_6.0."), std::string::npos) << loaded;
}

TEST(VersionInfo, NamesTheMakerAndTheProgramInFrench)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x040C);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1252);

    const struct
    {
        const char* name;
        std::string text;
    } strings[] = {
        {"CompanyName", "Merovia"},
        {"FileDescription", "Sylvane Programmateur"},
        {"ProductName", "Sylvane Programmateur"},
        {"OriginalFilename", "chronel.exe"},
        {"LegalCopyright", MakerCopyright}, // its © must come through as the code page's one byte
    };
    for (const auto& string : strings)
    {
        const std::string key = std::string("\\StringFileInfo\\040C04E4\\") + string.name;
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), &value, &length)) << string.name;
        EXPECT_EQ(std::string(static_cast<const char*>(value)), string.text) << string.name;
    }
}

namespace
{

// An icon group's directory as it lies in the resource: a header, then one entry per image.
#pragma pack(push, 1)
struct IconDirectory
{
    uint16_t reserved, type, count;
};
struct IconDirectoryEntry
{
    uint8_t width, height, colours, reserved;
    uint16_t planes, bitsPerPixel;
    uint32_t bytes;
    uint16_t imageId;
};
#pragma pack(pop)
static_assert(sizeof(IconDirectory) == 6 && sizeof(IconDirectoryEntry) == 14, "the resource's layout");

const void* ResourceData(LPCSTR type, int id, DWORD* size = nullptr)
{
    const HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
    if (size)
        *size = found ? SizeofResource(Module(), found) : 0;
    return found ? LockResource(LoadResource(Module(), found)) : nullptr;
}

} // namespace

// Each icon group holds its sizes at 24 bits per pixel, each image a round picture whose mask leaves the
// corners out and the centre in, and Windows draws each size from its own image.
TEST(Icons, EachGroupHoldsItsSizesAt24BitsAsRoundPictures)
{
    const struct
    {
        int group;
        std::vector<int> sizes;
    } groups[] = {{IDI_APP_LARGE, {96, 48, 32, 16}}, {IDI_APP_SMALL, {16}}};
    for (const auto& group : groups)
    {
        SCOPED_TRACE("icon group " + std::to_string(group.group));
        DWORD groupBytes = 0;
        const auto* directory =
            static_cast<const IconDirectory*>(ResourceData(RT_GROUP_ICON, group.group, &groupBytes));
        ASSERT_NE(directory, nullptr);
        ASSERT_EQ(directory->count, group.sizes.size());
        ASSERT_EQ(groupBytes, sizeof(IconDirectory) + directory->count * sizeof(IconDirectoryEntry));
        const auto* entries = reinterpret_cast<const IconDirectoryEntry*>(directory + 1);
        for (size_t i = 0; i < group.sizes.size(); ++i)
        {
            const int size = group.sizes[i];
            SCOPED_TRACE(std::to_string(size) + " pixels");
            EXPECT_EQ(entries[i].width, size);
            EXPECT_EQ(entries[i].height, size);
            EXPECT_EQ(entries[i].bitsPerPixel, 24);

            DWORD imageBytes = 0;
            const auto* image =
                static_cast<const BITMAPINFOHEADER*>(ResourceData(RT_ICON, entries[i].imageId, &imageBytes));
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->biWidth, size);
            EXPECT_EQ(image->biHeight, 2 * size); // colours and mask
            EXPECT_EQ(image->biBitCount, 24);
            EXPECT_EQ(image->biCompression, static_cast<DWORD>(BI_RGB));
            const size_t maskStride = (size + 31) / 32 * 4;
            const size_t maskStart = sizeof(BITMAPINFOHEADER) + (size * 3 + 3) / 4 * 4 * size;
            ASSERT_EQ(imageBytes, maskStart + maskStride * size);
            auto transparent = [&](int x, int y) {
                const auto* row =
                    reinterpret_cast<const uint8_t*>(image) + maskStart + maskStride * (size - 1 - y);
                return (row[x / 8] & (0x80 >> (x % 8))) != 0;
            };
            EXPECT_TRUE(transparent(0, 0));
            EXPECT_TRUE(transparent(size - 1, size - 1));
            EXPECT_FALSE(transparent(size / 2, size / 2));

            const HICON icon = static_cast<HICON>(
                LoadImageA(Module(), MAKEINTRESOURCEA(group.group), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(Banner, IsA24BitBottomUpBitmapOf47By474)
{
    const auto* header = static_cast<const BITMAPINFOHEADER*>(ResourceData(RT_BITMAP, IDB_BANNER));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 47);
    EXPECT_EQ(header->biHeight, 474); // positive: bottom-up
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
}

// Not a check: shows the running dialog in its main window for a screenshot of the layout, with
//   win32_tests --gtest_also_run_disabled_tests --gtest_filter='*ShowForAScreenshot'
// and CHRONEL_SHOW_SECONDS (default 10) to keep it up.
TEST_F(RunningDialog, DISABLED_ShowForAScreenshot)
{
    const HWND frame = harness.main.Get();
    RECT inner = {}, outer = {}, client = {};
    GetWindowRect(dialog, &inner);
    GetWindowRect(frame, &outer);
    GetClientRect(frame, &client);
    SetWindowPos(frame, HWND_TOP, 20, 20,
                 inner.right - inner.left + (outer.right - outer.left) - client.right,
                 inner.bottom - inner.top + (outer.bottom - outer.top) - client.bottom, 0);
    ShowWindow(frame, SW_SHOW);
    const char* seconds = std::getenv("CHRONEL_SHOW_SECONDS");
    PumpMessages(1000 * (seconds ? std::atoi(seconds) : 10));
}
