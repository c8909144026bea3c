#include "ui/framework/Dialog.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace
{

const LRESULT PreviousAnswer = 0x5EE; // what the window's own procedure answers to the watched message
const LRESULT DefaultAnswer = 0xDEF;  // what a probe's stand-in DefaultProc answers
const LRESULT StoredAnswer = 0x5709;  // what a probe stores through the result pointer
const WORD ButtonId = 1005;

long long Id(const void* pointer)
{
    return static_cast<long long>(reinterpret_cast<INT_PTR>(pointer));
}

LPARAM Param(const void* pointer)
{
    return reinterpret_cast<LPARAM>(pointer);
}

const void* Address(WNDPROC procedure)
{
    return reinterpret_cast<const void*>(procedure);
}

// "Name(a,b,c)" in decimal, so that sign-extended and unsigned values read as they arrived.
std::string Call(const char* name, std::initializer_list<long long> arguments)
{
    std::string text = std::string(name) + "(";
    for (const long long argument : arguments)
        text += (text.back() == '(' ? "" : ",") + std::to_string(argument);
    return text + ")";
}

// Records each handler call and answers `answer`; its DefaultProc is the real one unless `fakeDefault`.
template <typename Base> class Probe : public Base
{
public:
    std::vector<std::string> calls;
    std::vector<UINT> defaults;
    LRESULT answer = 0;
    bool fakeDefault = false;

    LRESULT Record(const std::string& call)
    {
        calls.push_back(call);
        return answer;
    }
    std::string LastCall() const { return calls.empty() ? std::string() : calls.back(); }

    LRESULT OnClose() override { return Record(Call("OnClose", {})); }
    LRESULT OnCommand(WORD code, WORD id, CWnd control) override
    {
        return Record(
            Call("OnCommand", {code, id, Id(control.hWnd), Id(control.hInstance), Id(control.hWndParent),
                               Id(reinterpret_cast<void*>(control.prevWndProc))}));
    }
    LRESULT OnCreate(CREATESTRUCTA* create) override { return Record(Call("OnCreate", {Id(create)})); }
    LRESULT OnCtlColor(HDC dc, HWND control, LRESULT* result) override
    {
        *result = StoredAnswer;
        return Record(Call("OnCtlColor", {Id(dc), Id(control)}));
    }
    LRESULT OnDestroy() override { return Record(Call("OnDestroy", {})); }
    LRESULT OnDisplayChange(WPARAM depth, WORD width, WORD height) override
    {
        return Record(Call("OnDisplayChange", {static_cast<long long>(depth), width, height}));
    }
    LRESULT OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item) override
    {
        return Record(Call("OnDrawItem", {static_cast<long long>(id), Id(item)}));
    }
    LRESULT OnDropFiles(WPARAM drop, LPARAM extra) override
    {
        return Record(Call("OnDropFiles", {static_cast<long long>(drop), extra}));
    }
    LRESULT OnSetFocus(WPARAM wParam) override
    {
        return Record(Call("OnSetFocus", {static_cast<long long>(wParam)}));
    }
    LRESULT OnInitDialog() override { return Record(Call("OnInitDialog", {Id(this->hWnd)})); }
    LRESULT OnKeyDown(WPARAM key, WORD repeat, WORD flags) override
    {
        return Record(Call("OnKeyDown", {static_cast<long long>(key), repeat, flags}));
    }
    LRESULT OnKeyUp(WPARAM key, WORD repeat, WORD flags) override
    {
        return Record(Call("OnKeyUp", {static_cast<long long>(key), repeat, flags}));
    }
    LRESULT OnMouseMove(WPARAM keys, int x, int y) override
    {
        return Record(Call("OnMouseMove", {static_cast<long long>(keys), x, y}));
    }
    LRESULT OnNcMouseMove(WPARAM hitTest, int x, int y) override
    {
        return Record(Call("OnNcMouseMove", {static_cast<long long>(hitTest), x, y}));
    }
    LRESULT OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override
    {
        *result = StoredAnswer;
        return Record(Call("OnNotify", {static_cast<long long>(id), Id(header)}));
    }
    LRESULT OnPaint(WPARAM wParam) override
    {
        return Record(Call("OnPaint", {static_cast<long long>(wParam)}));
    }
    LRESULT OnShowWindow(WPARAM shown, LPARAM status) override
    {
        return Record(Call("OnShowWindow", {static_cast<long long>(shown), status}));
    }
    LRESULT OnSize(WPARAM type, WORD width, WORD height) override
    {
        return Record(Call("OnSize", {static_cast<long long>(type), width, height}));
    }
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam, WORD high) override
    {
        return Record(Call("OnSysCommand", {static_cast<long long>(command), lParam, high}));
    }
    LRESULT OnTimer(WPARAM id) override { return Record(Call("OnTimer", {static_cast<long long>(id)})); }
    LRESULT OnWindowPosChanged(WINDOWPOS* position) override
    {
        return Record(Call("OnWindowPosChanged", {Id(position)}));
    }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        defaults.push_back(message);
        return fakeDefault ? DefaultAnswer : Base::DefaultProc(message, wParam, lParam);
    }
};

using WindowProbe = Probe<CWnd>;
using DialogProbe = Probe<CDialog>;

// The procedure a subclassed window had before: it answers the watched message itself.
struct Sighting
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
UINT g_watched = 0;
std::vector<Sighting> g_sightings;
bool g_boundAtNcDestroy = true;

LRESULT CALLBACK PreviousProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        g_boundAtNcDestroy = GetPropA(hwnd, "MY_CWND_CLASS_NAME") != nullptr;
    if (message != g_watched)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    g_sightings.push_back({message, wParam, lParam});
    return PreviousAnswer;
}

void Watch(UINT message)
{
    g_watched = message;
    g_sightings.clear();
}

const char* RegisteredClass(const char* name, WNDPROC procedure)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass); // a second registration fails harmlessly
    return name;
}

HWND CreateTestWindow(WNDPROC classProcedure, void* creationParameter = nullptr, HWND parent = nullptr)
{
    const char* className = classProcedure == PreviousProc
                                ? RegisteredClass("FrameworkTestPrevious", PreviousProc)
                                : RegisteredClass("FrameworkTestBound", CWnd::WndProc);
    return CreateWindowExA(0, className, "test", parent ? WS_CHILD : WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                           parent, nullptr, GetModuleHandleA(nullptr), creationParameter);
}

// Destroys the window when the test leaves, while the object bound to it still lives.
struct WindowGuard
{
    HWND hwnd;
    ~WindowGuard()
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
};

// An in-memory dialog template: a captioned popup with a font, holding one push button `ButtonId`.
std::vector<WORD> DialogTemplate(DWORD style)
{
    std::vector<WORD> words;
    const auto dword = [&](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto text = [&](const wchar_t* value) {
        do
            words.push_back(static_cast<WORD>(*value));
        while (*value++);
    };
    dword(style | WS_POPUP | WS_CAPTION | DS_SETFONT);
    dword(0);                                        // extended style
    words.insert(words.end(), {1, 10, 10, 150, 80}); // controls, x, y, cx, cy
    words.insert(words.end(), {0, 0});               // no menu, the dialog class
    text(L"Dialog");
    words.push_back(8);
    text(L"MS Shell Dlg");
    if (words.size() % 2)
        words.push_back(0); // each item starts on a DWORD
    dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    dword(0);
    words.insert(words.end(), {5, 5, 50, 14, ButtonId, 0xFFFF, 0x0080}); // position, id, the button class
    text(L"Button");
    words.push_back(0); // no creation data
    return words;
}

HWND CreateTestDialog(DLGPROC procedure, LPARAM parameter, DWORD style = 0)
{
    const std::vector<WORD> words = DialogTemplate(style);
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                      reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr, procedure,
                                      parameter);
}

LPARAM AsParameter(CDialog& dialog)
{
    return reinterpret_cast<LPARAM>(&dialog);
}

CREATESTRUCTA g_create = {};
DRAWITEMSTRUCT g_drawItem = {};
NMHDR g_header = {};
WINDOWPOS g_position = {};

// One message, what each dispatcher must hand its handler ("" when not routed) and how it answers.
struct Route
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string windowCall;
    char windowCode; // H, A, N or D
    std::string dialogCall;
    char dialogCode; // R, M or D
};

std::vector<Route> RoutingTable()
{
    const LPARAM keyWords = static_cast<LPARAM>(0x00390001) | static_cast<LPARAM>(0xC0000000u);
    const LPARAM menuKey = MAKELPARAM(0x20, 0xFFFE);
    const auto same = [](UINT message, WPARAM w, LPARAM l, const std::string& call, char window,
                         char dialog) { return Route{message, w, l, call, window, call, dialog}; };
    return {
        {WM_CREATE, 0, Param(&g_create), Call("OnCreate", {Id(&g_create)}), 'H', "", 'D'},
        same(WM_DESTROY, 0, 0, Call("OnDestroy", {}), 'H', 'R'),
        same(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(0xFFFF, 0x8000), Call("OnSize", {2, 65535, 32768}), 'H',
             'R'),
        same(WM_SETFOCUS, 0x1234, 0, Call("OnSetFocus", {0x1234}), 'H', 'R'),
        same(WM_PAINT, 9, 0, Call("OnPaint", {9}), 'H', 'R'),
        same(WM_CLOSE, 0, 0, Call("OnClose", {}), 'H', 'R'),
        same(WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, Call("OnShowWindow", {1, 3}), 'H', 'R'),
        {WM_NEXTDLGCTL, 0x55, 1, "", 'D', Call("OnSetFocus", {0x55}), 'R'},
        same(WM_DRAWITEM, ButtonId, Param(&g_drawItem), Call("OnDrawItem", {ButtonId, Id(&g_drawItem)}), 'H',
             'R'),
        same(WM_WINDOWPOSCHANGED, 0, Param(&g_position), Call("OnWindowPosChanged", {Id(&g_position)}), 'H',
             'R'),
        same(WM_NOTIFY, ButtonId, Param(&g_header), Call("OnNotify", {ButtonId, Id(&g_header)}), 'N', 'M'),
        same(WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 40000), Call("OnDisplayChange", {32, 1920, 40000}), 'H',
             'R'),
        same(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(-300, 200), Call("OnNcMouseMove", {HTCAPTION, -300, 200}),
             'H', 'R'),
        same(WM_KEYDOWN, VK_SPACE, keyWords, Call("OnKeyDown", {VK_SPACE, 1, 0xC039}), 'A', 'R'),
        same(WM_KEYUP, VK_SPACE, keyWords, Call("OnKeyUp", {VK_SPACE, 1, 0xC039}), 'A', 'R'),
        same(WM_COMMAND, MAKEWPARAM(ButtonId, EN_CHANGE), 0x4321,
             Call("OnCommand", {EN_CHANGE, ButtonId, 0x4321, 0, 0, 0}), 'H', 'R'),
        same(WM_SYSCOMMAND, SC_KEYMENU, menuKey, Call("OnSysCommand", {SC_KEYMENU, menuKey, 0xFFFE}), 'H',
             'R'),
        same(WM_TIMER, 77, 0, Call("OnTimer", {77}), 'H', 'R'),
        {WM_CTLCOLOREDIT, 0x2468, 0x1357, Call("OnCtlColor", {0x2468, 0x1357}), 'N', "", 'D'},
        {WM_CTLCOLORSTATIC, 0x2468, 0x1357, Call("OnCtlColor", {0x2468, 0x1357}), 'N', "", 'D'},
        same(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, -7), Call("OnMouseMove", {MK_LBUTTON, -5, -7}), 'H',
             'R'),
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), "", 'D', Call("OnSetFocus", {MK_LBUTTON}), 'R'},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4), "", 'D', Call("OnSetFocus", {MK_RBUTTON}), 'R'},
        {WM_DROPFILES, 0x7777, 0x99, Call("OnDropFiles", {0x7777, 0x99}), 'H',
         Call("OnDropFiles", {0x7777, 1}), 'R'},
        same(WM_APP + 5, 1, 2, "", 'D', 'D'),
    };
}

} // namespace

TEST(WindowDispatcher, RoutesEachMessageToItsHandlerAndPassesOnWhatIsNotHandled)
{
    WindowProbe probe;
    WindowGuard window{CreateTestWindow(PreviousProc)};
    ASSERT_TRUE(probe.Subclass(window.hwnd));
    for (const Route& route : RoutingTable())
    {
        for (const LRESULT answer : {LRESULT(0), LRESULT(7)})
        {
            SCOPED_TRACE(route.windowCall + " message " + std::to_string(route.message) + " answer " +
                         std::to_string(answer));
            probe.calls.clear();
            probe.answer = answer;
            Watch(route.message);
            const LRESULT result = SendMessageA(window.hwnd, route.message, route.wParam, route.lParam);

            EXPECT_EQ(probe.LastCall(), route.windowCall);
            const bool kept = answer != 0 && (route.windowCode == 'H' || route.windowCode == 'N');
            const LRESULT expected = !kept ? PreviousAnswer : route.windowCode == 'N' ? StoredAnswer : answer;
            EXPECT_EQ(result, expected);
            ASSERT_EQ(g_sightings.size(), kept ? 0u : 1u);
            if (!kept)
            {
                EXPECT_EQ(g_sightings[0].wParam, route.wParam);
                EXPECT_EQ(g_sightings[0].lParam, route.lParam);
            }
        }
    }
    Watch(0);
}

TEST(DialogDispatcher, ReturnsTheHandlersAnswerAndDefaultsOnlyWhatItDoesNotRoute)
{
    DialogProbe probe;
    probe.fakeDefault = true;
    WindowGuard dialog{CreateTestDialog(CDialog::DialogProcThunk, AsParameter(probe))};
    ASSERT_NE(dialog.hwnd, nullptr);
    for (Route route : RoutingTable())
    {
        for (const LRESULT answer : {LRESULT(0), LRESULT(7)})
        {
            SCOPED_TRACE(route.dialogCall + " message " + std::to_string(route.message) + " answer " +
                         std::to_string(answer));
            probe.calls.clear();
            probe.defaults.clear();
            probe.answer = answer;
            SetWindowLongPtrA(dialog.hwnd, DWLP_MSGRESULT, 0);
            const INT_PTR result =
                CDialog::DialogProcThunk(dialog.hwnd, route.message, route.wParam, route.lParam);

            EXPECT_EQ(probe.LastCall(), route.dialogCall);
            const bool defaulted = route.dialogCode == 'D' || (route.dialogCode == 'M' && answer == 0);
            EXPECT_EQ(probe.defaults, defaulted ? std::vector<UINT>{route.message} : std::vector<UINT>{});
            const INT_PTR expected = defaulted ? DefaultAnswer : route.dialogCode == 'M' ? TRUE : answer;
            EXPECT_EQ(result, expected);
            EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd, DWLP_MSGRESULT),
                      route.dialogCode == 'M' && answer ? StoredAnswer : 0);
        }
    }
    // WM_INITDIALOG carries the object itself.
    probe.calls.clear();
    probe.defaults.clear();
    probe.answer = 0;
    EXPECT_EQ(CDialog::DialogProcThunk(dialog.hwnd, WM_INITDIALOG, 0, AsParameter(probe)), FALSE);
    EXPECT_EQ(probe.calls, std::vector<std::string>{Call("OnInitDialog", {Id(dialog.hwnd)})});
    EXPECT_TRUE(probe.defaults.empty());
}

TEST(DialogDispatcher, UnroutedMessagesGetTheDefaultWindowAnswer)
{
    DialogProbe probe;
    WindowGuard dialog{CreateTestDialog(CDialog::DialogProcThunk, AsParameter(probe))};
    ASSERT_NE(dialog.hwnd, nullptr);
    probe.calls.clear();

    EXPECT_EQ(CDialog::DialogProcThunk(dialog.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed")),
              TRUE);
    char caption[32] = {};
    GetWindowTextA(dialog.hwnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "Renamed");

    const HDC dc = GetDC(dialog.hwnd);
    const HWND button = GetDlgItem(dialog.hwnd, ButtonId);
    const INT_PTR brush =
        CDialog::DialogProcThunk(dialog.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), Param(button));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(brush,
              DefWindowProcA(dialog.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), Param(button)));
    ReleaseDC(dialog.hwnd, dc);
    EXPECT_TRUE(probe.calls.empty());
}

// A dialog whose own procedure records the commands it sees, to stand behind a plain subclassing CWnd.
std::vector<WORD> g_dialogCommands;
INT_PTR CALLBACK CommandRecordingProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        g_dialogCommands.push_back(LOWORD(wParam));
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

TEST(WindowDispatcher, PlainWindowEndsTheDialogOnOkAndCancelAndPassesOtherCommandsOn)
{
    const struct
    {
        WORD id;
        LRESULT result;
        bool visibleAfter;
        std::vector<WORD> seenBehind;
    } cases[] = {{IDOK, 1, false, {}}, {IDCANCEL, 1, false, {}}, {3, 0, true, {3}}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        CWnd plain;
        WindowGuard dialog{CreateTestDialog(CommandRecordingProc, 0, WS_VISIBLE)};
        ASSERT_TRUE(IsWindowVisible(dialog.hwnd));
        ASSERT_TRUE(plain.Subclass(dialog.hwnd));
        g_dialogCommands.clear();

        EXPECT_EQ(SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0), c.result);
        EXPECT_EQ(IsWindowVisible(dialog.hwnd) != FALSE, c.visibleAfter);
        EXPECT_EQ(g_dialogCommands, c.seenBehind);
    }
}

TEST(WindowBinding, AttachTakesTheWindowOverAndDetachGivesItBack)
{
    WindowGuard parent{CreateTestWindow(PreviousProc)};
    WindowGuard child{CreateTestWindow(PreviousProc, nullptr, parent.hwnd)};
    WindowProbe probe;

    EXPECT_FALSE(probe.Attach(nullptr, CWnd::WndProc));
    EXPECT_EQ(probe.hWnd, nullptr);
    EXPECT_EQ(probe.prevWndProc, nullptr);

    ASSERT_TRUE(probe.Subclass(child.hwnd));
    EXPECT_EQ(probe.hWnd, child.hwnd);
    EXPECT_EQ(probe.hWndParent, parent.hwnd);
    EXPECT_EQ(Address(probe.prevWndProc), Address(PreviousProc));
    EXPECT_EQ(GetPropA(child.hwnd, "MY_CWND_CLASS_NAME"), static_cast<CWnd*>(&probe));
    EXPECT_EQ(GetWindowLongPtrA(child.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(CWnd::WndProc));

    EXPECT_EQ(probe.Unsubclass(), child.hwnd);
    EXPECT_EQ(probe.hWnd, nullptr);
    EXPECT_EQ(Address(probe.prevWndProc), Address(PreviousProc));
    EXPECT_EQ(GetPropA(child.hwnd, "MY_CWND_CLASS_NAME"), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(child.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PreviousProc));
}

LRESULT CALLBACK LaterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(CWnd::WndProc, hwnd, message, wParam, lParam);
}

TEST(WindowBinding, DetachLeavesALaterSubclassInPlace)
{
    WindowGuard window{CreateTestWindow(PreviousProc)};
    WindowProbe probe;
    ASSERT_TRUE(probe.Subclass(window.hwnd));
    SetWindowLongPtrA(window.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterProc));

    EXPECT_EQ(probe.Unsubclass(), window.hwnd);
    EXPECT_EQ(GetWindowLongPtrA(window.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LaterProc));
    EXPECT_EQ(GetPropA(window.hwnd, "MY_CWND_CLASS_NAME"), nullptr);
    EXPECT_EQ(probe.hWnd, nullptr);
}

TEST(WindowBinding, CreationParameterBindsTheWindowBeforeOnCreate)
{
    WindowProbe probe;
    WindowGuard window{CreateTestWindow(CWnd::WndProc, &probe)};
    ASSERT_NE(window.hwnd, nullptr);
    EXPECT_EQ(probe.hWnd, window.hwnd);
    EXPECT_EQ(GetPropA(window.hwnd, "MY_CWND_CLASS_NAME"), static_cast<CWnd*>(&probe));
    ASSERT_FALSE(probe.calls.empty());
    EXPECT_EQ(probe.calls[0].rfind("OnCreate(", 0), 0u);

    // Nothing was subclassed, so there is nothing to give back.
    EXPECT_EQ(probe.Unsubclass(), window.hwnd);
    EXPECT_EQ(probe.hWnd, window.hwnd);
    EXPECT_EQ(GetPropA(window.hwnd, "MY_CWND_CLASS_NAME"), static_cast<CWnd*>(&probe));

    // OnCreate's -1 is the window's own answer, which makes the creation fail.
    WindowProbe refusing;
    refusing.answer = -1;
    EXPECT_EQ(CreateTestWindow(CWnd::WndProc, &refusing), nullptr);
}

TEST(WindowBinding, NullCreationParameterLeavesEveryMessageToDefWindowProc)
{
    WindowGuard window{CreateTestWindow(CWnd::WndProc)};
    ASSERT_NE(window.hwnd, nullptr);
    EXPECT_EQ(GetPropA(window.hwnd, "MY_CWND_CLASS_NAME"), nullptr);
    EXPECT_TRUE(SetWindowTextA(window.hwnd, "Renamed"));
    char caption[32] = {};
    GetWindowTextA(window.hwnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "Renamed");
    SendMessageA(window.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window.hwnd));
}

TEST(WindowBinding, NcDestroyUnbindsTheWindowButKeepsTheHandle)
{
    WindowProbe subclassing;
    const HWND subclassed = CreateTestWindow(PreviousProc);
    ASSERT_TRUE(subclassing.Subclass(subclassed));
    g_boundAtNcDestroy = true;
    DestroyWindow(subclassed);
    EXPECT_FALSE(g_boundAtNcDestroy); // the earlier procedure saw WM_NCDESTROY, after the unbinding
    EXPECT_EQ(subclassing.hWnd, subclassed);
    EXPECT_EQ(subclassing.LastCall(), Call("OnDestroy", {}));

    WindowProbe created;
    WindowGuard window{CreateTestWindow(CWnd::WndProc, &created)};
    EXPECT_EQ(CWnd::WndProc(window.hwnd, WM_NCDESTROY, 0, 0), 0);
    EXPECT_EQ(GetPropA(window.hwnd, "MY_CWND_CLASS_NAME"), nullptr);
    created.calls.clear();
    SendMessageA(window.hwnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(created.calls.empty());
    EXPECT_EQ(created.hWnd, window.hwnd);
}

// Records every message the framework's thunk is given and what it answers.
std::vector<std::pair<UINT, INT_PTR>> g_thunkCalls;
INT_PTR CALLBACK RecordingThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const INT_PTR result = CDialog::DialogProcThunk(hwnd, message, wParam, lParam);
    g_thunkCalls.push_back({message, result});
    return result;
}

class SeeingDialog : public DialogProbe
{
public:
    std::vector<UINT> seen;
    bool boundAtInit = false;

    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return CDialog::DialogProc(hwnd, message, wParam, lParam);
    }
    LRESULT OnInitDialog() override
    {
        boundAtInit = hWnd && GetPropA(hWnd, "MY_CDIALOG_CLASS_NAME") == static_cast<CDialog*>(this) &&
                      GetWindowLongPtrA(hWnd, GWLP_USERDATA) == Id(static_cast<CDialog*>(this));
        return DialogProbe::OnInitDialog();
    }
};

TEST(DialogBinding, InitDialogBindsTheObjectBeforeItsHandlerRuns)
{
    SeeingDialog probe;
    g_thunkCalls.clear();
    WindowGuard dialog{CreateTestDialog(RecordingThunk, AsParameter(probe))};
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_TRUE(probe.boundAtInit);
    EXPECT_EQ(probe.hWnd, dialog.hwnd);
    ASSERT_FALSE(probe.seen.empty());
    EXPECT_EQ(probe.seen[0], static_cast<UINT>(WM_INITDIALOG));

    // WM_SETFONT comes first, finds no object and is answered FALSE.
    ASSERT_FALSE(g_thunkCalls.empty());
    EXPECT_EQ(g_thunkCalls[0], std::make_pair(static_cast<UINT>(WM_SETFONT), INT_PTR(FALSE)));
}

TEST(DialogBinding, NullInitialisationParameterNeverBinds)
{
    WindowGuard dialog{CreateTestDialog(CDialog::DialogProcThunk, 0)};
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(GetPropA(dialog.hwnd, "MY_CDIALOG_CLASS_NAME"), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd, GWLP_USERDATA), 0);
    EXPECT_EQ(CDialog::DialogProcThunk(dialog.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed")),
              FALSE);

    // A bound dialog handed a null object at WM_INITDIALOG loses its object.
    DialogProbe probe;
    WindowGuard bound{CreateTestDialog(CDialog::DialogProcThunk, AsParameter(probe))};
    probe.calls.clear();
    EXPECT_EQ(CDialog::DialogProcThunk(bound.hwnd, WM_INITDIALOG, 0, 0), FALSE);
    EXPECT_EQ(GetWindowLongPtrA(bound.hwnd, GWLP_USERDATA), 0);
    EXPECT_TRUE(probe.calls.empty());
}

TEST(DialogBinding, NcDestroyUnbindsTheDialogButKeepsTheHandle)
{
    DialogProbe probe;
    probe.answer = 5;
    WindowGuard dialog{CreateTestDialog(CDialog::DialogProcThunk, AsParameter(probe))};
    probe.calls.clear();
    EXPECT_EQ(CDialog::DialogProcThunk(dialog.hwnd, WM_NCDESTROY, 0, 0), 0);
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_EQ(GetPropA(dialog.hwnd, "MY_CDIALOG_CLASS_NAME"), nullptr);
    EXPECT_EQ(CDialog::DialogProcThunk(dialog.hwnd, WM_TIMER, 1, 0), FALSE);
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_EQ(probe.hWnd, dialog.hwnd);

    DialogProbe destroyed;
    const HWND window = CreateTestDialog(CDialog::DialogProcThunk, AsParameter(destroyed));
    DestroyWindow(window);
    EXPECT_EQ(destroyed.hWnd, window);
    EXPECT_EQ(destroyed.LastCall(), Call("OnDestroy", {}));
}

TEST(DialogCreate, CreatesTheTemplateAsAModelessDialog)
{
    // The find dialog's template is one that every comdlg32.dll carries.
    const HMODULE library = LoadLibraryA("comdlg32.dll");
    ASSERT_NE(library, nullptr);
    WindowGuard owner{CreateTestWindow(PreviousProc)};
    DialogProbe probe;

    WindowGuard dialog{probe.Create(library, FINDDLGORD, owner.hwnd)};
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(probe.hWnd, dialog.hwnd);
    EXPECT_EQ(probe.calls, std::vector<std::string>{Call("OnInitDialog", {Id(dialog.hwnd)})});
    EXPECT_EQ(GetWindow(dialog.hwnd, GW_OWNER), owner.hwnd);

    DialogProbe missing;
    missing.hWnd = owner.hwnd;
    EXPECT_EQ(missing.Create(library, 4242, owner.hwnd), nullptr);
    EXPECT_EQ(missing.hWnd, nullptr);
    EXPECT_TRUE(missing.calls.empty());
}

TEST(WindowValue, GetParentAndGetDlgItemNameWindowsWithoutBindingThem)
{
    WindowGuard parent{CreateTestWindow(PreviousProc)};
    WindowGuard child{CreateTestWindow(PreviousProc, nullptr, parent.hwnd)};
    SetWindowLongPtrA(child.hwnd, GWLP_ID, ButtonId);

    CWnd named(child.hwnd);
    const CWnd found = named.GetParent();
    EXPECT_EQ(found.hWnd, parent.hwnd);
    EXPECT_EQ(named.hWndParent, parent.hwnd);
    const CWnd item = CWnd(parent.hwnd).GetDlgItem(ButtonId);
    EXPECT_EQ(item.hWnd, child.hwnd);
    EXPECT_EQ(GetPropA(child.hwnd, "MY_CWND_CLASS_NAME"), nullptr);

    CWnd unbound;
    unbound.hWndParent = parent.hwnd;
    EXPECT_EQ(unbound.GetParent().hWnd, nullptr);
    EXPECT_EQ(unbound.hWndParent, parent.hwnd);
    EXPECT_EQ(unbound.GetDlgItem(ButtonId).hWnd, nullptr);
}
