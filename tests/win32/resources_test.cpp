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
#include <cstring>
#include <string>
#include <vector>

namespace
{

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

const void* ResourceData(LPCSTR type, int id)
{
    const HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
    return found ? LockResource(LoadResource(Module(), found)) : nullptr;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// What each kind of control is to a user: its window class, and the style bits that make it so (each class's
// own low word, the group and the tab stop). The frames of edits and lists are left out: a control may trade
// WS_BORDER for a 3-D edge, and an empty list hides its scroll bar.
struct Kind
{
    const char* windowClass;
    DWORD style;
};
const Kind DefaultButton = {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP}; // the one Enter presses
const Kind Button = {"Button", BS_PUSHBUTTON | WS_TABSTOP};
const Kind CheckBox = {"Button", BS_AUTOCHECKBOX | WS_TABSTOP}; // ticks and clears itself when clicked
// Clears the other button of its pair; a tab stop only while checked, so that Tab reaches the checked one.
const Kind RadioButton = {"Button", BS_AUTORADIOBUTTON};
const Kind Frame = {"Button", BS_GROUPBOX};
// Wraps its words. Every text starts a group, which keeps the two radio pairs apart.
const Kind Text = {"Static", SS_LEFT | WS_GROUP};
const Kind RightText = {"Static", SS_RIGHT | WS_GROUP};
const Kind ClickableText = {"Static", SS_LEFT | SS_NOTIFY | WS_GROUP}; // tells its parent of a click
// Sunken, centred both ways, a long path shortened in its middle.
const Kind PathText = {"Static", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_PATHELLIPSIS | WS_GROUP};
const Kind Picture = {"Static", SS_BITMAP};
const Kind NumberEdit = {"Edit", ES_CENTER | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP}; // digits only
const Kind NameEdit = {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP};
// Keeps its items in order and tells its parent when the selection changes.
const Kind SortedList = {"ListBox", LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_TABSTOP};
// Writes its value into the edit beside it and steps with the arrow keys.
const Kind Spin = {"msctls_updown32", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_HOTTRACK};

bool IsText(const Kind& kind)
{
    return &kind == &Text || &kind == &RightText || &kind == &ClickableText;
}

// One control as the user meets it once the dialog has started (with the clock at 08:05 and no media list):
// its kind, its caption, its font (none: the template's), and the group box it sits in (0: none).
struct Shown
{
    int id;
    const Kind& kind;
    std::string caption;
    const UniqueFont* font;
    int group;
};

// The dialog's controls from the top of its z-order down, which is also the order of Tab.
const Shown Controls[] = {
    {IDOK, DefaultButton, "OK", &normalFont, 0},
    {IDC_TITLE_TITLE, Text, "Sylvane Programmateur", &titleFont, 0},
    {IDC_BANNER, Picture, "", nullptr, 0},
    {IDC_TITLE_ACTIVE, ClickableText, "Programmes activés", &boldFont, IDC_GROUP_MAIN},
    {IDC_BUTTON_ACTIVE, Button, "Désactiver", &normalFont, IDC_GROUP_MAIN},
    {IDC_TITLE_LIST, Text, "Liste des médias", &boldFont, IDC_GROUP_MAIN},
    {IDC_BUTTON_LIST, Button, "Charger", &normalFont, IDC_GROUP_MAIN},
    {IDC_TEXT_LIST, PathText, "Aucune liste n'est actuellement chargée !", &smallFont, IDC_GROUP_MAIN},
    {IDC_GROUP_LIST, Frame, "Définition d'un programme", &normalFont, 0},
    {IDC_GROUP_PROG, Frame, "Programmes définis", &normalFont, 0},
    {IDC_GROUP_MAIN, Frame, "Options générales", &normalFont, 0},
    {IDC_MEDIA_LIST, SortedList, "", nullptr, IDC_GROUP_LIST},
    {IDC_PROGRAM_LIST, SortedList, "", nullptr, IDC_GROUP_PROG},
    {IDC_DAY1, CheckBox, "lundi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY2, CheckBox, "mardi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY3, CheckBox, "mercredi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY4, CheckBox, "jeudi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY5, CheckBox, "vendredi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY6, CheckBox, "samedi", &normalFont, IDC_GROUP_LIST},
    {IDC_DAY7, CheckBox, "dimanche", &normalFont, IDC_GROUP_LIST},
    {IDC_ALL_DAYS, CheckBox, "tous", &normalFont, IDC_GROUP_LIST},
    {IDC_HOUR, NumberEdit, "12", &boldFont, IDC_GROUP_LIST},
    {IDC_MINUTE, NumberEdit, "00", &boldFont, IDC_GROUP_LIST},
    {IDC_HOUR_SPIN, Spin, "", nullptr, IDC_GROUP_LIST},
    {IDC_MINUTE_SPIN, Spin, "", nullptr, IDC_GROUP_LIST},
    {IDC_BUTTON_ADD, Button, "Ajouter", &normalFont, IDC_GROUP_LIST},
    {IDC_BUTTON_REMOVE, Button, "Retirer", nullptr, IDC_GROUP_PROG},
    {IDC_PROGRAM_NAME, NameEdit, "", nullptr, IDC_GROUP_LIST},
    {IDC_TITLE_PROGNAME, Text, "Nom du programme", &boldFont, IDC_GROUP_LIST},
    {IDC_TITLE_LIST2, Text, "Choix du média", &boldFont, IDC_GROUP_LIST},
    {IDC_TITLE_DAY, Text, "Choix du/des jour(s)", &boldFont, IDC_GROUP_LIST},
    {IDC_TITLE_TIME, Text, "Choix de l'heure", &boldFont, IDC_GROUP_LIST},
    {IDC_TITLE_REPEAT, Text, "Répétition ?", &boldFont, IDC_GROUP_LIST},
    {IDC_REPEAT_YES, RadioButton, "oui", &normalFont, IDC_GROUP_LIST},
    {IDC_REPEAT_NO, RadioButton, "non", &normalFont, IDC_GROUP_LIST},
    {IDC_TEXT_REPEAT, Text,
     "Sans répétition, le programme ne sera lancé qu'une fois, sauf s'il est sur plusieurs jours.",
     &smallFont, IDC_GROUP_LIST},
    {IDC_TEXT_LIST3, Text,
     "Si aucun média n'est visible ici, c'est qu'il faut charger une nouvelle liste de média en cliquant sur "
     "le bouton \"charger\" situé à droite.",
     &smallFont, IDC_GROUP_LIST},
    {IDC_TITLE_INFO1, Text, "Nom du programme", &boldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO2, Text, "Jour(s) d'activation", &boldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO3, Text, "Heure d'activation", &boldFont, IDC_GROUP_PROG},
    {IDC_TITLE_INFO4, Text, "Options", &boldFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO1, Text, "Aucun nom", &smallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO2, Text, "Aucun jour", &smallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO3, Text, "Aucune heure", &smallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO4, Text, "Aucune confirmation", &smallFont, IDC_GROUP_PROG},
    {IDC_TITLE_MEROVIA, RightText, MakerCopyright, &titleFont, 0},
    {IDC_TITLE_TIME2, RightText, "Il est 08 h et 05 min.", &boldFont, 0},
    {IDC_TITLE_CONFIRM, Text, "Confirmer le lancement ?", &confirmFont, IDC_GROUP_LIST},
    {IDC_CONFIRM_YES, RadioButton, "oui", &normalFont, IDC_GROUP_LIST},
    {IDC_CONFIRM_NO, RadioButton, "non", &normalFont, IDC_GROUP_LIST},
    {IDC_BUTTON_QUIT, Button, "Quitter", &normalFont, 0},
    {IDC_BUTTON_WMP, Button, "Lancer Media Player", &normalFont, 0},
    {IDC_BUTTON_MEROVIA, Button, std::string("Visiter ") + MakerSiteName, &normalFont, 0},
    {IDC_TEXT_INFO1B, Text, "Aucun média", &smallFont, IDC_GROUP_PROG},
    {IDC_TEXT_INFO5, Text, "Aucune répétition", &smallFont, IDC_GROUP_PROG},
};

// Controls a user reads as one column share their left edge; as one row, their top; as one set, their width
// or their whole size.
enum Line
{
    LeftEdge,
    Top,
    Width,
    Size
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
    {Width, {IDC_PROGRAM_NAME, IDC_MEDIA_LIST, IDC_PROGRAM_LIST}},
    {Size, {IDOK, IDC_BUTTON_ACTIVE, IDC_BUTTON_LIST, IDC_BUTTON_REMOVE, IDC_BUTTON_QUIT, IDC_BUTTON_ADD}},
    {Size, {IDC_BUTTON_WMP, IDC_BUTTON_MEROVIA}},
    {Size, {IDC_DAY1, IDC_DAY2, IDC_DAY3, IDC_DAY4, IDC_DAY5, IDC_DAY6, IDC_DAY7, IDC_ALL_DAYS}},
    {Size, {IDC_HOUR, IDC_MINUTE}},
    {Size, {IDC_HOUR_SPIN, IDC_MINUTE_SPIN}}};

bool Inside(const RECT& inner, const RECT& outer)
{
    RECT both = {};
    return UnionRect(&both, &inner, &outer) && EqualRect(&both, &outer);
}

// The tray, reading the menu it shows at the moment it shows it, one line per item; the menu then closes.
class TrayMenuReader : public CSystemTray
{
public:
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
            items.push_back((info.fType & MFT_SEPARATOR)
                                ? "-"
                                : std::to_string(info.wID) + " " + caption +
                                      (info.fState & MFS_DEFAULT ? " (default)" : "") +
                                      (info.hSubMenu ? " (submenu)" : ""));
        }
        SetTimer(nullptr, 0, 200, CloseMenu);
    }

    std::vector<std::string> items;

private:
    static VOID CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        EndMenu();
    }
};

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
        const bool checkedRadio = &control.kind == &RadioButton && harness.Checked(control.id);
        return control.kind.style | (checkedRadio ? WS_TABSTOP : 0);
    }
    HFONT FontOf(const Shown& control) const
    {
        return control.font ? control.font->Get()
                            : reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    }
    // The room `caption` takes in the control, in its font, as the control lays it out: its text on one line
    // (wrapped at the control's width for a text), plus the control's own parts beside it. The bottom of the
    // last line's descent may fall outside: the letters' bodies and accents are what must show.
    SIZE Needed(int id, const Kind& kind, const std::string& caption) const
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
        if (&kind == &DefaultButton || &kind == &Button)
            beside = 2 * GetSystemMetrics(SM_CXBORDER); // the frame
        else if (&kind == &CheckBox || &kind == &RadioButton)
            beside = GetSystemMetrics(SM_CXMENUCHECK); // the box or the circle
        else if (&kind == &Frame)
            beside = 2 * metrics.tmAveCharWidth; // the frame's corners either side of the caption
        else if (&kind == &NumberEdit || &kind == &NameEdit)
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
    ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font),
              0);
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
        EXPECT_EQ(lstrcmpiA(name, want.kind.windowClass), 0) << name;
        const DWORD kept = 0xFFFF | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
        EXPECT_EQ(GetWindowLongPtrA(control, GWL_STYLE) & kept, WS_CHILD | WS_VISIBLE | StyleOf(want));
        // No extended style but the edges that the frames and the sunken look become.
        EXPECT_EQ(GetWindowLongPtrA(control, GWL_EXSTYLE) &
                      ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_NOPARENTNOTIFY),
                  0);
        if (&want.kind != &Picture)
            EXPECT_EQ(harness.Text(want.id), want.caption);
        if (&want.kind != &Spin && &want.kind != &Picture) // draw no text
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), FontOf(want));
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
    auto check = [this](int id, const Kind& kind, const std::string& caption) {
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
    // And the captions of the switch turned off.
    check(IDC_TITLE_ACTIVE, ClickableText, "Programmes désactivés");
    check(IDC_BUTTON_ACTIVE, Button, "Activer");
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
            const RECT other = Place(b.id);
            if (a.id >= b.id || !IntersectRect(&shared, &place, &other) || a.group == b.id || b.group == a.id)
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

// The banner: a 24-bit bottom-up bitmap of 47 by 474, shown at its own size.
TEST_F(RunningDialog, BannerShowsItsBitmapAtItsOwnSize)
{
    const auto* header = static_cast<const BITMAPINFOHEADER*>(ResourceData(RT_BITMAP, IDB_BANNER));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biHeight, 474); // positive: bottom-up
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
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
}

TEST(TrayMenu, ShowsTheActionsWithOpeningTheSchedulerAsTheDefault)
{
    MainWindowStandIn window;
    TrayMenuReader tray;
    ASSERT_NE(
        tray.Install(window.Get(), LoadIconA(nullptr, IDI_APPLICATION), Module(), "Sylvane Programmateur"),
        FALSE);
    EXPECT_EQ(tray.OnIconMessage(CSystemTray::TRAY_ICON_ID, WM_RBUTTONUP), 1);
    const std::vector<std::string> want = {
        "32778 Ouvrir le Programmateur (default)",
        "-",
        "32780 Lancer Media Player...",
        std::string("32781 Visiter ") + MakerSiteName + "...",
        "-",
        "105 Quitter",
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
    // Made from manifest 1 of this program, as the loader makes the process's own when it starts it.
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

    // Per-monitor DPI aware (Windows 10 1703 and later; 8.1 takes the older element's "/pm"), and every
    // system from Vista to Windows 11 named as known, as Windows reads the manifest's text.
    const HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string text(static_cast<const char*>(ResourceData(RT_MANIFEST, 1)),
                           SizeofResource(Module(), found));
    EXPECT_NE(
        text.find(
            "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
        std::string::npos);
    EXPECT_NE(text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                        "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    for (const char* system : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"{") + system + "}\"/>"), std::string::npos)
            << system;

    // The common controls this process loads are version 6's.
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

// Each icon group holds an image of each of its sizes, which Windows draws round: 24 bits per pixel below 256
// pixels, the 256-pixel one a PNG, as Windows Vista and later read that size.
TEST(Icons, EachGroupHoldsItsSizesAndEachIsDrawnRound)
{
    const struct
    {
        int group;
        std::vector<int> sizes;
    } groups[] = {{IDI_APP_LARGE, {256, 96, 48, 32, 16}}, {IDI_APP_SMALL, {32, 24, 20, 16}}};
    for (const auto& group : groups)
    {
        SCOPED_TRACE("icon group " + std::to_string(group.group));
        const void* directory = ResourceData(RT_GROUP_ICON, group.group);
        ASSERT_NE(directory, nullptr);
        EXPECT_EQ(static_cast<const uint16_t*>(directory)[2], group.sizes.size()); // the number of images
        for (int size : group.sizes)
        {
            SCOPED_TRACE(std::to_string(size) + " pixels");
            const int imageId = LookupIconIdFromDirectoryEx(static_cast<PBYTE>(const_cast<void*>(directory)),
                                                            TRUE, size, size, LR_DEFAULTCOLOR);
            const auto* image = static_cast<const BITMAPINFOHEADER*>(ResourceData(RT_ICON, imageId));
            ASSERT_NE(image, nullptr);
            if (size == 256)
            {
                // The PNG signature, then the header chunk with the width and height, big-endian.
                EXPECT_EQ(std::memcmp(image, "\x89PNG\r\n\x1a\n", 8), 0);
                EXPECT_EQ(
                    std::memcmp(reinterpret_cast<const char*>(image) + 12, "IHDR\0\0\x01\0\0\0\x01\0", 12),
                    0);
            }
            else
            {
                EXPECT_EQ(image->biWidth, size); // an image of its own, not another one scaled
                EXPECT_EQ(image->biBitCount, 24);
            }

            // Drawn over a colour, as the caption and the notification area draw it: the corners let it
            // through, the centre does not.
            const COLORREF behind = RGB(255, 0, 255);
            HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
            const HBITMAP canvas = CreateCompatibleBitmap(screen, size, size);
            ReleaseDC(nullptr, screen);
            const HGDIOBJ old = SelectObject(dc, canvas);
            const HBRUSH brush = CreateSolidBrush(behind);
            const RECT all = {0, 0, size, size};
            FillRect(dc, &all, brush);
            const HICON icon = static_cast<HICON>(
                LoadImageA(Module(), MAKEINTRESOURCEA(group.group), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
            EXPECT_EQ(GetPixel(dc, 0, 0), behind);
            EXPECT_EQ(GetPixel(dc, size - 1, size - 1), behind);
            EXPECT_NE(GetPixel(dc, size / 2, size / 2), behind);
            DestroyIcon(icon);
            DeleteObject(brush);
            DeleteObject(SelectObject(dc, old));
            DeleteDC(dc);
        }
    }
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
