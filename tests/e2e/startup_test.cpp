// What a start shows: the program in the notification area only, its dialog filled from the remembered media
// list and the saved programmes, every control in its first state.
#include "Scenario.h"

namespace e2e
{
namespace
{

class StartUp : public Scenario
{
};

TEST_F(StartUp, InTheTrayWithTheRememberedListAndTheSavedProgrammes)
{
    const std::vector<MediaFixture> greek = {
        {"Beta", "http://radio.example/beta", "http://flux.example/beta", 1},
        {"alpha", "http://radio.example/alpha", "http://flux.example/alpha", 1},
        {"Gamma", "", "http://flux.example/gamma", 1},
    };
    const std::string list = BuildMediaList("grec.tsl", greek);
    WriteMachineString(SettingsKey, "Media List", list);
    RecordFixture soir{"Soir", greek[0], {1, 1, 1, 1, 1, 1, 1}, 21, 0, 0, 1};
    RecordFixture matin{"Matin", greek[1], {1, 0, 1, 0, 1, 0, 0}, 8, 5, 1, 0};
    RecordFixture nuit{"Nuit", greek[2], {0, 0, 0, 0, 0, 1, 1}, 23, 59, 1, 1};
    WriteProgramFile(RecordsBytes({soir, matin, nuit}));

    const SYSTEMTIME before = Now();
    Chronel& app = Start();
    const SYSTEMTIME after = Now();

    // Only the icon shows.
    EXPECT_EQ(ClassOf(app.Main()), "CHRONEL");
    EXPECT_EQ(TextOf(app.Main()), texts::Caption);
    EXPECT_FALSE(app.WindowShown());
    const LONG_PTR style = GetWindowLongPtrA(app.Main(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_TRUE(WaitFor(TrayIconShown)) << "no icon in the notification area";
    EXPECT_EQ(TrayIconTooltip(), texts::Caption);

    const std::string clock = app.Text(ids::Clock);
    EXPECT_TRUE(clock == texts::ClockCaption(before.wHour, before.wMinute) ||
                clock == texts::ClockCaption(after.wHour, after.wMinute))
        << clock;
    EXPECT_EQ(app.Text(ids::Hour), "12");
    EXPECT_EQ(app.Text(ids::Minute), "00");
    EXPECT_TRUE(app.Checked(ids::ConfirmYes));
    EXPECT_FALSE(app.Checked(ids::ConfirmNo));
    EXPECT_TRUE(app.Checked(ids::RepeatYes));
    EXPECT_FALSE(app.Checked(ids::RepeatNo));
    for (int day = 0; day < 7; ++day)
        EXPECT_FALSE(app.Checked(ids::Monday + day)) << texts::DayNames[day];
    EXPECT_FALSE(app.Checked(ids::AllDays));
    EXPECT_EQ(app.Text(ids::ProgramName), "");

    // The remembered list, in the list box's order, each item pointing at its place in the file.
    EXPECT_EQ(app.Items(ids::MediaList), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(ListItemData(app.Control(ids::MediaList)), (std::vector<LONG_PTR>{1, 0, 2}));
    EXPECT_EQ(app.Selection(ids::MediaList), LB_ERR);
    EXPECT_EQ(app.Text(ids::ListLabel), list);

    // The saved programmes, alphabetically, none selected.
    EXPECT_EQ(app.Items(ids::ProgramList), (std::vector<std::string>{"Matin", "Nuit", "Soir"}));
    EXPECT_EQ(app.Selection(ids::ProgramList), LB_ERR);

    struct Caption
    {
        int id;
        std::string text;
    };
    const Caption captions[] = {
        {ids::Ok, "OK"},
        {1000, texts::Caption},
        {ids::ActiveLabel, "Programmes activés"},
        {ids::ActiveButton, "Désactiver"},
        {1026, "Liste des médias"},
        {ids::LoadButton, "Charger"},
        {1029, "Définition d'un programme"},
        {1030, "Programmes définis"},
        {1028, "Options générales"},
        {ids::AllDays, "tous"},
        {ids::AddButton, "Ajouter"},
        {ids::RemoveButton, "Retirer"},
        {1032, "Nom du programme"},
        {1033, "Choix du média"},
        {1034, "Choix du/des jour(s)"},
        {1035, "Choix de l'heure"},
        {1036, "Répétition ?"},
        {1037, "Confirmer le lancement ?"},
        {ids::RepeatYes, "oui"},
        {ids::RepeatNo, "non"},
        {ids::ConfirmYes, "oui"},
        {ids::ConfirmNo, "non"},
        {ids::InfoName, "Aucun nom"},
        {ids::InfoMedia, "Aucun média"},
        {ids::InfoDays, "Aucun jour"},
        {ids::InfoTime, "Aucune heure"},
        {ids::InfoConfirm, "Aucune confirmation"},
        {ids::InfoRepeat, "Aucune répétition"},
        {ids::QuitButton, "Quitter"},
        {ids::PlayerButton, "Lancer Media Player"},
    };
    for (const Caption& caption : captions)
        EXPECT_EQ(app.Text(caption.id), caption.text) << "control " << caption.id;
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(app.Text(ids::Monday + day), texts::DayNames[day]);
    EXPECT_EQ(app.Text(ids::SiteButton).rfind("Visiter ", 0), 0u) << app.Text(ids::SiteButton);

    EXPECT_EQ(ReadMachineString(SettingsKey, "Program List"), ProgramFilePath());
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), list);
    EXPECT_FALSE(ReadMachineDword(SettingsKey, "Active").has_value());

    // A double-click on the icon in the notification area opens the window and takes the icon away.
    DoubleClickTrayIcon();
    ASSERT_TRUE(WaitFor([&] { return app.WindowShown(); })) << "the window did not open from the tray icon";
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "the icon stayed in the notification area";
    EXPECT_EQ(GetForegroundWindow(), app.Main());
    // Neither the menu nor the quit question follows once the double-click time has passed.
    Sleep(GetDoubleClickTime() + 500);
    EXPECT_TRUE(TopWindows(app.Process(), "#32768").empty()) << "a menu opened after the double-click";
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 0));
    app.SelectProgram("Matin");
    EXPECT_EQ(app.Text(ids::InfoName), "Matin");
    EXPECT_EQ(app.Text(ids::InfoMedia), "alpha");
    EXPECT_EQ(app.Text(ids::InfoDays), "lundi, mercredi, vendredi");
    EXPECT_EQ(app.Text(ids::InfoTime), "8 h et 5 min.");
    EXPECT_EQ(app.Text(ids::InfoConfirm), "Confirmation : Oui");
    EXPECT_EQ(app.Text(ids::InfoRepeat), "Répétition : Non");
    SaveScreenshot("scheduler-opened-at-start");
}

} // namespace
} // namespace e2e
