// The scheduler window and its tray icon: opening, sending back, the tray menu, and every way of quitting.
#include "Scenario.h"

#include <functional>

namespace e2e
{
namespace
{

class TrayAndWindow : public Scenario
{
protected:
    // The window is parked out of sight and the icon is back.
    static void ExpectInTray(const Chronel& app)
    {
        EXPECT_TRUE(WaitFor([&] { return !app.WindowShown(); })) << "the window stayed on the screen";
        EXPECT_TRUE(WaitFor(TrayIconShown)) << "the icon did not come back";
        EXPECT_FALSE(IsIconic(app.Main())) << "the window was minimised to the taskbar";
    }
    // The window is a visible, active top-level window and the icon is gone.
    static void ExpectOpen(const Chronel& app)
    {
        EXPECT_TRUE(app.WindowShown());
        EXPECT_EQ(GetAncestor(app.Main(), GA_PARENT), GetDesktopWindow());
        EXPECT_EQ(GetForegroundWindow(), app.Main());
        EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "the icon stayed";
    }
};

TEST_F(TrayAndWindow, OpensFromTheIconAndGoesBackWithOkAndWithTheMinimiseBox)
{
    Chronel& app = Start();
    ExpectInTray(app);
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round == 0 ? "the dialog's OK button" : "the minimise box");
        app.OpenWindow();
        ExpectOpen(app);
        // The client area is the dialog, exactly.
        RECT client;
        RECT dialog;
        GetClientRect(app.Main(), &client);
        GetWindowRect(app.Dialog(), &dialog);
        EXPECT_EQ(client.right, dialog.right - dialog.left);
        EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
        // Centred on the screen's full-screen client area.
        RECT frame;
        GetWindowRect(app.Main(), &frame);
        EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - (frame.right - frame.left) / 2);
        EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - (frame.bottom - frame.top) / 2);
        if (round == 0)
            app.Press(ids::Ok);
        else
            PostMessageA(app.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ExpectInTray(app);
    }
    EXPECT_TRUE(app.Running());
}

TEST_F(TrayAndWindow, TheMenuStartsThePlayerAndOpensTheScheduler)
{
    Chronel& app = Start();

    app.TrayMessage(WM_RBUTTONUP);
    HWND menu = WaitForPopupMenu(app.Process());
    Sleep(300);
    SaveScreenshot("tray-menu");
    ChooseMenuItem(menu, VK_DOWN, 2); // past the separator: "Lancer Media Player..."
    ASSERT_TRUE(WaitFor([] { return !PlayerStarts().empty(); }))
        << "the player was not started from the menu";
    EXPECT_EQ(PlayerStarts(), std::vector<std::string>{""});
    EXPECT_FALSE(app.WindowShown());

    // The right button on the icon in the notification area brings the same menu.
    RightClickTrayIcon();
    menu = WaitForPopupMenu(app.Process());
    ChooseMenuItem(menu, VK_DOWN, 1); // "Ouvrir le Programmateur"
    EXPECT_TRUE(WaitFor([&] { return app.WindowShown(); })) << "the menu did not open the scheduler";
    ExpectOpen(app);

    // The dialog's own player button does the same as the menu item.
    app.Press(ids::PlayerButton);
    EXPECT_TRUE(WaitFor([] { return PlayerStarts().size() == 2; }));
    EXPECT_EQ(PlayerStarts(), (std::vector<std::string>{"", ""}));
}

TEST_F(TrayAndWindow, EveryWayOfQuittingAsksTheSameQuestionAndOnlyOkQuits)
{
    const std::string saved = RecordBytes({"Matin", Stations()[1], {1, 0, 0, 0, 0, 0, 0}, 8, 5, 1, 0});
    WriteProgramFile(saved);
    Chronel& app = Start();

    struct Way
    {
        const char* what;
        bool windowOpen;
        std::function<void()> ask;
    };
    const Way ways[] = {
        {"the tray menu's Quitter", false,
         [&] {
             app.TrayMessage(WM_RBUTTONUP);
             ChooseMenuItem(WaitForPopupMenu(app.Process()), VK_UP, 1);
         }},
        {"the dialog's Quitter", true, [&] { app.Press(ids::QuitButton); }},
        {"the close box", true, [&] { PostMessageA(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.what);
        if (way.windowOpen && !app.WindowShown())
            app.OpenWindow();
        way.ask();
        const MessageBoxView question = app.WaitForMessage(std::string("after ") + way.what);
        ExpectMessage(question, texts::QuitQuestion, BoxIcon::Question);
        if (!way.windowOpen)
            SaveScreenshot("quit-question");
        Answer(question, IDCANCEL);
        app.Settle();
        EXPECT_TRUE(app.Running());
        EXPECT_EQ(app.WindowShown(), way.windowOpen);
        EXPECT_EQ(TrayIconShown(), !way.windowOpen);
        EXPECT_EQ(app.Items(ids::ProgramList), std::vector<std::string>{"Matin"});
        EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), saved));
    }

    // Confirmed: saved, icon gone, exit code 0.
    PostMessageA(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Answer(app.WaitForMessage("after the close box"), IDOK);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), saved));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "the icon outlived the program";
}

} // namespace
} // namespace e2e
