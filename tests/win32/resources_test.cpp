// The program's resources as Windows loads them from this test executable, which links the same resource
// object as chronel.exe.
#include "resources/Maker.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

struct ResourceBytes
{
    const unsigned char* data = nullptr;
    size_t size = 0;
};

ResourceBytes FindBytes(const char* type, int id)
{
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(Module(), found);
    return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(Module(), found)};
}

// Reads a resource field by field, little-endian, never past its end; a read past the end clears ok.
class Reader
{
public:
    explicit Reader(ResourceBytes bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    size_t position() const { return position_; }

    unsigned U8()
    {
        if (!Need(1))
            return 0;
        return bytes_.data[position_++];
    }
    unsigned U16()
    {
        const unsigned low = U8();
        return low | (U8() << 8);
    }
    unsigned long U32()
    {
        const unsigned long low = U16();
        return low | (static_cast<unsigned long>(U16()) << 16);
    }
    int S16() { return static_cast<short>(U16()); }
    void Align4()
    {
        while (ok_ && position_ % 4 != 0)
            U8();
    }
    // A zero-terminated UTF-16 text, kept as its code units (every text here is in Latin-1).
    std::string Text()
    {
        std::string text;
        for (unsigned unit = U16(); ok_ && unit != 0; unit = U16())
            text += unit < 0x100 ? static_cast<char>(unit) : '?';
        return text;
    }
    // A name or an ordinal: "#n" for an ordinal, as the resource functions spell one.
    std::string NameOrOrdinal()
    {
        if (!Need(2))
            return {};
        if (bytes_.data[position_] == 0xFF && bytes_.data[position_ + 1] == 0xFF)
        {
            U16();
            return "#" + std::to_string(U16());
        }
        return Text();
    }
    void Skip(size_t count)
    {
        if (Need(count))
            position_ += count;
    }

private:
    bool Need(size_t count)
    {
        if (bytes_.data == nullptr || bytes_.size - position_ < count)
            ok_ = false;
        return ok_;
    }

    ResourceBytes bytes_;
    size_t position_ = 0;
    bool ok_ = true;
};

// One control as the dialog layout wants it. kind is the window class; the predefined classes may be
// stored in a template as ordinals, which the parser turns into these same names.
struct ExpectedControl
{
    int id;
    const char* kind;
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    int x, y, cx, cy;
    const char* caption;
};

constexpr DWORD Label = SS_LEFT | WS_GROUP;
constexpr DWORD Push = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Radio = BS_AUTORADIOBUTTON;
constexpr DWORD List = LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD Number = ES_CENTER | ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD Spin = UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_HOTTRACK;

// The scheduler dialog's controls in tab order.
const ExpectedControl Layout[] = {
    {1, "button", BS_DEFPUSHBUTTON | WS_TABSTOP, 416, 284, 60, 14, "OK"},
    {1000, "static", Label, 53, 11, 197, 12, "IDC_TITLE_TITLE"},
    {1001, "static", SS_BITMAP, 7, 6, 47, 292, "#133"},
    {1025, "static", Label | SS_NOTIFY, 275, 195, 133, 10, "IDC_TITLE_ACTIVE"},
    {1003, "button", Push, 416, 192, 60, 14, "IDC_BUTTON_ACTIVE"},
    {1026, "static", Label, 275, 212, 133, 10, "IDC_TITLE_LIST"},
    {1004, "button", Push, 416, 210, 60, 14, "IDC_BUTTON_LIST"},
    {1027, "static", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_PATHELLIPSIS | WS_GROUP, 275, 230, 200, 43,
     "IDC_TEXT_LIST"},
    {1029, "button", BS_GROUPBOX, 47, 28, 213, 251, "IDC_GROUP_LIST"},
    {1030, "button", BS_GROUPBOX, 269, 28, 213, 148, "IDC_GROUP_PROG"},
    {1028, "button", BS_GROUPBOX, 269, 179, 213, 100, "IDC_GROUP_MAIN"},
    {1005, "listbox", List, 154, 61, 100, 88, ""},
    {1006, "listbox", List, 376, 42, 100, 107, ""},
    {1007, "button", Check, 159, 156, 47, 10, "DAY1"},
    {1008, "button", Check, 159, 166, 47, 10, "DAY2"},
    {1009, "button", Check, 159, 176, 47, 10, "DAY3"},
    {1010, "button", Check, 159, 186, 47, 10, "DAY4"},
    {1011, "button", Check, 209, 156, 47, 10, "DAY5"},
    {1012, "button", Check, 209, 166, 47, 10, "DAY6"},
    {1013, "button", Check, 209, 176, 47, 10, "DAY7"},
    {1015, "button", Check, 209, 186, 47, 10, "ALL"},
    {1016, "edit", Number, 157, 202, 17, 14, ""},
    {1017, "edit", Number, 207, 202, 17, 14, ""},
    {1019, "msctls_updown32", Spin, 177, 202, 11, 14, ""},
    {1020, "msctls_updown32", Spin, 227, 202, 11, 14, ""},
    {1022, "button", Push, 194, 259, 60, 14, "IDC_BUTTON_ADD"},
    {1024, "button", Push, 416, 156, 60, 14, "IDC_BUTTON_REMOVE"},
    {1031, "edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 154, 42, 100, 14, ""},
    {1032, "static", Label, 53, 44, 93, 10, "IDC_TITLE_PROGNAME"},
    {1033, "static", Label, 53, 62, 93, 10, "IDC_TITLE_LIST2"},
    {1034, "static", Label, 53, 157, 93, 10, "IDC_TITLE_DAY"},
    {1035, "static", Label, 53, 202, 93, 10, "IDC_TITLE_TIME"},
    {1036, "static", Label, 53, 240, 93, 10, "IDC_TITLE_REPEAT"},
    {1038, "button", Radio, 159, 240, 28, 10, "YES"},
    {1039, "button", Radio, 209, 240, 26, 10, "NO"},
    {1043, "static", Label, 53, 251, 93, 23, "IDC_TEXT_REPEAT"},
    {1044, "static", Label, 53, 73, 93, 65, "IDC_TEXT_LIST3"},
    {1041, "static", Label, 275, 44, 93, 12, "IDC_TITLE_INFO1"},
    {1042, "static", Label, 275, 76, 93, 10, "IDC_TITLE_INFO2"},
    {1045, "static", Label, 275, 108, 93, 10, "IDC_TITLE_INFO3"},
    {1046, "static", Label, 275, 140, 93, 10, "IDC_TITLE_INFO4"},
    {1047, "static", Label, 279, 55, 89, 8, "IDC_TEXT_INFO1"},
    {1048, "static", Label, 279, 87, 89, 16, "IDC_TEXT_INFO2"},
    {1049, "static", Label, 279, 119, 89, 16, "IDC_TEXT_INFO3"},
    {1050, "static", Label, 279, 151, 89, 9, "IDC_TEXT_INFO4"},
    {1002, "static", SS_RIGHT | WS_GROUP, 275, 8, 196, 12, "IDC_TITLE_MEROVIA"},
    {1014, "static", SS_RIGHT | WS_GROUP, 366, 19, 106, 9, "IDC_TITLE_TIME2"},
    {1037, "static", Label, 53, 222, 103, 10, "IDC_TITLE_CONFIRM"},
    {1040, "button", Radio, 159, 222, 28, 10, "YES"},
    {1051, "button", Radio, 209, 222, 26, 10, "NO"},
    {1052, "button", Push, 352, 284, 60, 14, "IDC_BUTTON_QUIT"},
    {1053, "button", Push, 149, 284, 92, 14, "IDC_BUTTON_WMP"},
    {1054, "button", Push, 53, 284, 92, 14, "IDC_BUTTON_MEROVIA"},
    {1055, "static", Label, 279, 63, 89, 8, "IDC_TEXT_INFO1b"},
    {1056, "static", Label, 279, 159, 89, 9, "IDC_TEXT_INFO5"},
};

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ClassFromTemplate(const std::string& stored)
{
    if (stored == "#128")
        return "button";
    if (stored == "#129")
        return "edit";
    if (stored == "#130")
        return "static";
    if (stored == "#131")
        return "listbox";
    return Lower(stored);
}

struct DialogHeader
{
    unsigned version = 0, signature = 0;
    unsigned long helpId = 0, exStyle = 0, style = 0;
    unsigned count = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, windowClass, title;
    unsigned pointSize = 0, weight = 0, italic = 0, charset = 0;
    std::string face;
};

struct DialogItem
{
    unsigned long helpId = 0, exStyle = 0, style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned long id = 0;
    std::string windowClass, title;
    unsigned extraCount = 0;
};

// Decodes an extended dialog template: its header, then each item on a 4-byte boundary.
bool ParseDialog(ResourceBytes bytes, DialogHeader& header, std::vector<DialogItem>& items)
{
    Reader in(bytes);
    header.version = in.U16();
    header.signature = in.U16();
    if (header.version != 1 || header.signature != 0xFFFF)
        return false;
    header.helpId = in.U32();
    header.exStyle = in.U32();
    header.style = in.U32();
    header.count = in.U16();
    header.x = in.S16();
    header.y = in.S16();
    header.cx = in.S16();
    header.cy = in.S16();
    header.menu = in.NameOrOrdinal();
    header.windowClass = in.NameOrOrdinal();
    header.title = in.Text();
    if (header.style & DS_SETFONT)
    {
        header.pointSize = in.U16();
        header.weight = in.U16();
        header.italic = in.U8();
        header.charset = in.U8();
        header.face = in.Text();
    }
    for (unsigned i = 0; i < header.count && in.ok(); ++i)
    {
        in.Align4();
        DialogItem item;
        item.helpId = in.U32();
        item.exStyle = in.U32();
        item.style = in.U32();
        item.x = in.S16();
        item.y = in.S16();
        item.cx = in.S16();
        item.cy = in.S16();
        item.id = in.U32();
        item.windowClass = ClassFromTemplate(in.NameOrOrdinal());
        item.title = in.NameOrOrdinal();
        item.extraCount = in.U16();
        in.Skip(item.extraCount);
        items.push_back(item);
    }
    return in.ok();
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The dialog created for real from its template, as a child of a hidden top-level window.
class CreatedDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX classes = {sizeof classes, 0xFF};
        InitCommonControlsEx(&classes);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 800, 600, nullptr,
                                  nullptr, Module(), nullptr);
        ASSERT_NE(parent_, nullptr);
        dialog_ = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_MAIN), parent_, PlainDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override
    {
        if (parent_)
            DestroyWindow(parent_);
    }

    // The rectangle of a control in the dialog's client coordinates, in pixels.
    RECT ControlRect(int id) const
    {
        RECT rect = {};
        GetWindowRect(GetDlgItem(dialog_, id), &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Dialog units to pixels, as the dialog manager places a control: position and size separately.
    RECT Pixels(int x, int y, int cx, int cy) const
    {
        RECT position = {x, y, x, y};
        RECT size = {0, 0, cx, cy};
        MapDialogRect(dialog_, &position);
        MapDialogRect(dialog_, &size);
        return {position.left, position.top, position.left + size.right, position.top + size.bottom};
    }

    HWND parent_ = nullptr;
    HWND dialog_ = nullptr;
};

struct ExpectedMenuItem
{
    UINT id;
    bool separator;
    std::string caption;
};

std::vector<ExpectedMenuItem> TrayMenuItems()
{
    return {
        {32778, false, "Ouvrir le Programmateur"},
        {0, true, ""},
        {32780, false, "Lancer Media Player..."},
        {32781, false, std::string("Visiter ") + MakerSiteName + "..."},
        {0, true, ""},
        {105, false, "Quitter"},
    };
}

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

TEST(DialogTemplate, HeaderIsAnExtendedChildWithTheShellFont)
{
    DialogHeader header;
    std::vector<DialogItem> items;
    ASSERT_TRUE(ParseDialog(FindBytes(RT_DIALOG, 129), header, items));

    EXPECT_EQ(header.style, static_cast<unsigned long>(WS_CHILD | WS_VISIBLE | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(header.exStyle, 0u);
    EXPECT_EQ(header.count, 55u);
    EXPECT_EQ(header.x, 0);
    EXPECT_EQ(header.y, 0);
    EXPECT_EQ(header.cx, 489);
    EXPECT_EQ(header.cy, 304);
    EXPECT_EQ(header.menu, "");
    EXPECT_EQ(header.windowClass, "");
    EXPECT_EQ(header.title, "");
    EXPECT_EQ(header.pointSize, 8u);
    EXPECT_EQ(header.weight, 400u);
    EXPECT_EQ(header.italic, 0u);
    EXPECT_EQ(header.charset, static_cast<unsigned>(DEFAULT_CHARSET));
    EXPECT_EQ(header.face, "MS Shell Dlg");
}

TEST(DialogTemplate, ControlsFollowTheLayoutInTabOrder)
{
    DialogHeader header;
    std::vector<DialogItem> items;
    ASSERT_TRUE(ParseDialog(FindBytes(RT_DIALOG, 129), header, items));
    ASSERT_EQ(items.size(), std::size(Layout));

    std::set<unsigned long> ids;
    for (size_t i = 0; i < items.size(); ++i)
    {
        const DialogItem& item = items[i];
        const ExpectedControl& want = Layout[i];
        SCOPED_TRACE("control " + std::to_string(want.id));
        ids.insert(item.id);
        EXPECT_EQ(item.id, static_cast<unsigned long>(want.id));
        EXPECT_EQ(item.windowClass, want.kind);
        EXPECT_EQ(item.style, WS_CHILD | WS_VISIBLE | want.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.title, want.caption);
        EXPECT_EQ(item.extraCount, 0u);
    }
    EXPECT_EQ(ids.size(), items.size()) << "control ids repeat";
}

TEST(ResourceLanguage, FrenchExceptTheManifest)
{
    const LANGID french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    const struct
    {
        const char* type;
        int id;
    } resources[] = {
        {RT_DIALOG, 129},     {RT_MENU, 109},       {RT_ACCELERATOR, 109}, {RT_STRING, 103 / 16 + 1},
        {RT_GROUP_ICON, 107}, {RT_GROUP_ICON, 108}, {RT_BITMAP, 133},      {RT_VERSION, 1},
    };
    for (const auto& resource : resources)
        EXPECT_NE(FindResourceExA(Module(), resource.type, MAKEINTRESOURCEA(resource.id), french), nullptr)
            << "resource " << resource.id;
    // Neutral, so that a default manifest the linker may add gives way to it instead of standing beside it.
    EXPECT_NE(FindResourceExA(Module(), RT_MANIFEST, MAKEINTRESOURCEA(1),
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)),
              nullptr);
}

TEST_F(CreatedDialog, IsAChildOfTheTemplateSize)
{
    const LONG_PTR style = GetWindowLongPtrA(dialog_, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_POPUP), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetParent(dialog_), parent_);

    RECT client = {};
    GetClientRect(dialog_, &client);
    const RECT want = Pixels(0, 0, 489, 304);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    LOGFONTA font = {};
    ASSERT_NE(
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0)), sizeof font, &font), 0);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
}

TEST_F(CreatedDialog, EveryControlHasItsClassStyleAndPlace)
{
    // The bits a control keeps from its template once created: edits may trade WS_BORDER for a 3-D edge, and
    // an empty list box hides its scroll bar.
    const DWORD kept = 0xFFFF | WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    for (const ExpectedControl& want : Layout)
    {
        SCOPED_TRACE("control " + std::to_string(want.id));
        HWND control = GetDlgItem(dialog_, want.id);
        ASSERT_NE(control, nullptr);
        char name[64] = {};
        GetClassNameA(control, name, sizeof name);
        EXPECT_EQ(Lower(name), want.kind);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
        EXPECT_EQ(style & kept, (WS_CHILD | WS_VISIBLE | want.style) & kept);

        const RECT rect = ControlRect(want.id);
        const RECT expected = Pixels(want.x, want.y, want.cx, want.cy);
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, expected.top);
        if (want.id == IDC_BANNER) // the banner takes its bitmap's size
            continue;
        // An up-down control may round its own width.
        const LONG slack = std::string(want.kind) == "msctls_updown32" ? 1 : 0;
        EXPECT_LE(std::labs(rect.right - expected.right), slack);
        EXPECT_EQ(rect.bottom, expected.bottom);
    }
}

TEST_F(CreatedDialog, BannerShowsTheBitmapAtItsOwnSize)
{
    HWND banner = GetDlgItem(dialog_, IDC_BANNER);
    HANDLE image = reinterpret_cast<HANDLE>(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(image, nullptr);
    BITMAP bitmap = {};
    ASSERT_NE(GetObjectA(image, sizeof bitmap, &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, 47);
    EXPECT_EQ(bitmap.bmHeight, 474);

    const RECT rect = ControlRect(IDC_BANNER);
    EXPECT_EQ(rect.right - rect.left, 47);
    EXPECT_EQ(rect.bottom - rect.top, 474);
}

TEST_F(CreatedDialog, RadioPairsAreSeparateGroups)
{
    auto click = [this](int id) { SendMessageA(GetDlgItem(dialog_, id), BM_CLICK, 0, 0); };
    auto checked = [this](int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; };

    click(IDC_REPEAT_YES);
    click(IDC_CONFIRM_YES);
    EXPECT_TRUE(checked(IDC_REPEAT_YES)) << "checking the confirmation cleared the repetition";
    EXPECT_TRUE(checked(IDC_CONFIRM_YES));

    click(IDC_REPEAT_NO);
    EXPECT_FALSE(checked(IDC_REPEAT_YES));
    EXPECT_TRUE(checked(IDC_REPEAT_NO));
    EXPECT_TRUE(checked(IDC_CONFIRM_YES));

    click(IDC_CONFIRM_NO);
    EXPECT_FALSE(checked(IDC_CONFIRM_YES));
    EXPECT_TRUE(checked(IDC_CONFIRM_NO));
    EXPECT_TRUE(checked(IDC_REPEAT_NO));
    for (int day = IDC_DAY1; day <= IDC_DAY7; ++day)
        EXPECT_FALSE(checked(day));
}

TEST(StringTable, HoldsTheCaptionAndTheClassName)
{
    const struct
    {
        UINT id;
        const char* text;
    } strings[] = {{103, "Sylvane Programmateur"}, {109, "CHRONEL"}};
    for (const auto& string : strings)
    {
        char buffer[100];
        std::memset(buffer, 0x7F, sizeof buffer);
        EXPECT_EQ(LoadStringA(Module(), string.id, buffer, sizeof buffer),
                  static_cast<int>(std::strlen(string.text)));
        EXPECT_STREQ(buffer, string.text);
    }
}

TEST(TrayMenu, ListsTheActionsInOrder)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(109));
    ASSERT_NE(menu, nullptr);
    char caption[100] = {};
    GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "&Actions");

    HMENU actions = GetSubMenu(menu, 0);
    ASSERT_NE(actions, nullptr);
    const std::vector<ExpectedMenuItem> want = TrayMenuItems();
    ASSERT_EQ(GetMenuItemCount(actions), static_cast<int>(want.size()));
    for (size_t i = 0; i < want.size(); ++i)
    {
        SCOPED_TRACE("position " + std::to_string(i));
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoA(actions, static_cast<UINT>(i), TRUE, &info));
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, want[i].separator);
        EXPECT_EQ(info.hSubMenu, nullptr);
        if (!want[i].separator)
        {
            EXPECT_EQ(info.wID, want[i].id);
            std::memset(caption, 0, sizeof caption);
            GetMenuStringA(actions, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
            EXPECT_EQ(std::string(caption), want[i].caption);
        }
    }
    DestroyMenu(menu);
}

TEST(Accelerators, AltQuestionMarkAndAltSlashAsCharacters)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(109));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 2);
    const WORD keys[] = {'?', '/'};
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(entries[i].fVirt & 0x7F, FALT) << "no FVIRTKEY, no other modifier";
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].cmd, 104);
    }
}

// Below 256 pixels every image is a 24-bit bitmap with its mask; the 256-pixel one is a PNG, as Windows Vista
// and later read that size.
TEST(Icons, EachGroupHoldsItsSizes)
{
    const struct
    {
        int group;
        std::vector<int> sizes;
    } groups[] = {{107, {256, 96, 48, 32, 16}}, {108, {32, 24, 20, 16}}};
    for (const auto& group : groups)
    {
        SCOPED_TRACE("icon group " + std::to_string(group.group));
        const ResourceBytes directory = FindBytes(RT_GROUP_ICON, group.group);
        Reader in(directory);
        EXPECT_EQ(in.U16(), 0u);
        EXPECT_EQ(in.U16(), 1u);
        ASSERT_EQ(in.U16(), group.sizes.size());
        for (int size : group.sizes)
        {
            EXPECT_EQ(in.U8(), static_cast<unsigned>(size % 256)); // width (0 stands for 256)
            EXPECT_EQ(in.U8(), static_cast<unsigned>(size % 256)); // height
            in.Skip(4);                                            // colour count, reserved, planes
            EXPECT_EQ(in.U16(), size == 256 ? 32u : 24u);          // bits per pixel
            in.Skip(6);                                            // bytes, image id
        }
        ASSERT_TRUE(in.ok());

        for (int size : group.sizes)
        {
            SCOPED_TRACE(std::to_string(size) + " pixels");
            PBYTE bits = const_cast<PBYTE>(directory.data);
            const int imageId = LookupIconIdFromDirectoryEx(bits, TRUE, size, size, LR_DEFAULTCOLOR);
            const ResourceBytes image = FindBytes(RT_ICON, imageId);
            HICON icon = static_cast<HICON>(
                LoadImageA(Module(), MAKEINTRESOURCEA(group.group), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(icon, nullptr);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);

            if (size == 256)
            {
                // The PNG signature, then the header chunk with the width and height, big-endian.
                ASSERT_GE(image.size, 24u);
                EXPECT_EQ(std::memcmp(image.data, "\x89PNG\r\n\x1a\n", 8), 0);
                EXPECT_EQ(std::memcmp(image.data + 12, "IHDR\0\0\x01\0\0\0\x01\0", 12), 0);
                continue;
            }
            ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
            Reader header(image);
            EXPECT_EQ(header.U32(), 40u);
            EXPECT_EQ(static_cast<int>(header.U32()), size);
            EXPECT_EQ(static_cast<int>(header.U32()), 2 * size); // colours and mask
            EXPECT_EQ(header.U16(), 1u);
            EXPECT_EQ(header.U16(), 24u);
            EXPECT_EQ(header.U32(), static_cast<unsigned long>(BI_RGB));

            // The round picture: the mask leaves the corners out and the centre in.
            const size_t colourStride = (size * 3 + 3) / 4 * 4;
            const size_t maskStride = (size + 31) / 32 * 4;
            const size_t maskStart = 40 + colourStride * size;
            ASSERT_EQ(image.size, maskStart + maskStride * size);
            auto transparent = [&](int x, int y) {
                const unsigned char* row = image.data + maskStart + maskStride * (size - 1 - y);
                return (row[x / 8] & (0x80 >> (x % 8))) != 0;
            };
            EXPECT_TRUE(transparent(0, 0));
            EXPECT_TRUE(transparent(size - 1, size - 1));
            EXPECT_FALSE(transparent(size / 2, size / 2));
        }
    }
}

TEST(Banner, IsA24BitBottomUpBitmapOf47By474)
{
    Reader header(FindBytes(RT_BITMAP, 133));
    EXPECT_EQ(header.U32(), 40u);
    EXPECT_EQ(static_cast<long>(header.U32()), 47);
    EXPECT_EQ(static_cast<long>(header.U32()), 474); // positive: bottom-up
    EXPECT_EQ(header.U16(), 1u);
    EXPECT_EQ(header.U16(), 24u);
    EXPECT_EQ(header.U32(), static_cast<unsigned long>(BI_RGB));
    ASSERT_TRUE(header.ok());

    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageA(Module(), MAKEINTRESOURCEA(133), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(loaded, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 47);
    EXPECT_EQ(section.dsBm.bmHeight, 474);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    DeleteObject(loaded);
}

TEST(Manifest, OneManifestAsksForCommonControls6WithoutElevation)
{
    std::vector<ULONG_PTR> names;
    EnumResourceNamesA(Module(), RT_MANIFEST, CollectName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], 1u);
    std::vector<WORD> languages;
    EnumResourceLanguagesA(Module(), RT_MANIFEST, MAKEINTRESOURCEA(1), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages.size(), 1u) << "a second manifest in another language";

    const ResourceBytes bytes = FindBytes(RT_MANIFEST, 1);
    ASSERT_NE(bytes.data, nullptr);
    const std::string text(reinterpret_cast<const char*>(bytes.data), bytes.size);
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
#if defined(_WIN64)
    const std::string architecture = "processorArchitecture=\"amd64\"";
#else
    const std::string architecture = "processorArchitecture=\"X86\"";
#endif
    // Both the program's identity and the dependency name the processor.
    const size_t first = text.find(architecture);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(architecture, first + 1), std::string::npos);
    EXPECT_EQ(text.find("trustInfo"), std::string::npos);
    EXPECT_EQ(text.find("requestedExecutionLevel"), std::string::npos);

    // Per-monitor DPI aware (Windows 10 1703 and later; 8.1 takes the older element's "/pm"), and every
    // system from Vista to Windows 11 named as known.
    EXPECT_NE(
        text.find(
            "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
        std::string::npos);
    EXPECT_NE(text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                        "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(text.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">"),
              std::string::npos);
    for (const char* system : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"{") + system + "}\"/>"), std::string::npos)
            << system;
}

// The loader used the manifest (with a wrong processor name Wine ignores it and Windows refuses the
// program) and took the common controls from the side-by-side store, where version 6 lives.
TEST(Manifest, LoadsCommonControls6)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, 0xFF};
    InitCommonControlsEx(&classes);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(comctl, path, MAX_PATH);
    const std::string loaded = Lower(path);
    EXPECT_NE(loaded.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(loaded.find("common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
}

TEST(VersionInfo, NamesTheMakerAndTheProgramInFrench)
{
    HMODULE library = LoadLibraryA("version.dll");
    ASSERT_NE(library, nullptr);
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto infoSize = reinterpret_cast<SizeFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "VerQueryValueA")));
    ASSERT_TRUE(infoSize && info && query);

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = infoSize(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(info(path, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    ASSERT_TRUE(query(block.data(), "\\VarFileInfo\\Translation", &value, &length));
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
        ASSERT_TRUE(query(block.data(), key.c_str(), &value, &length)) << string.name;
        EXPECT_EQ(std::string(static_cast<const char*>(value)), string.text) << string.name;
    }
    FreeLibrary(library);
}

// Not a check: shows the dialog in a visible window for a screenshot of the layout, with
//   win32_tests --gtest_also_run_disabled_tests --gtest_filter='*ShowForAScreenshot'
// and CHRONEL_SHOW_SECONDS (default 10) to keep it up.
TEST(DialogPreview, DISABLED_ShowForAScreenshot)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, 0xFF};
    InitCommonControlsEx(&classes);
    HWND frame =
        CreateWindowExA(0, "STATIC", "Sylvane Programmateur", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20,
                        20, 100, 100, nullptr, nullptr, Module(), nullptr);
    HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_MAIN), frame, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT inner = {}, outer = {}, client = {};
    GetWindowRect(dialog, &inner);
    GetWindowRect(frame, &outer);
    GetClientRect(frame, &client);
    SetWindowPos(frame, HWND_TOP, 0, 0, inner.right - inner.left + (outer.right - outer.left) - client.right,
                 inner.bottom - inner.top + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE);
    ShowWindow(frame, SW_SHOW);
    const char* seconds = std::getenv("CHRONEL_SHOW_SECONDS");
    const DWORD until = GetTickCount() + 1000 * (seconds ? std::atoi(seconds) : 10);
    while (static_cast<LONG>(until - GetTickCount()) > 0)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(20);
    }
    DestroyWindow(frame);
}
