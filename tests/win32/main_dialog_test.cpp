#include "DialogHarness.h"
#include "../Wait.h"

#include "../core/TestSupport.h"
#include "schedule/TextField.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <utility>

namespace
{

struct Entry
{
    std::string title, page, stream;
};

// A media list file image built byte by byte: a 64-byte header and 9264-byte records.
std::string WriteMediaList(const TempFolder& folder, const std::string& name,
                           const std::vector<Entry>& entries)
{
    Bytes bytes(64, 0);
    PutU32(bytes, 0, 1);
    PutU32(bytes, 4, 64);
    for (const Entry& e : entries)
    {
        Bytes record(9264, 0);
        PutText(record, 2, e.title);
        PutText(record, 522, e.stream);
        PutText(record, 782, e.page);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    const std::string path = folder.File(name);
    WriteBytes(path, bytes);
    return path;
}

std::string MediaListValue()
{
    RegKey key = OpenSettingsKey();
    return key ? ReadMediaListPath(key.Get()) : std::string();
}

class MainDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        mediaList =
            WriteMediaList(folder, "radios.slv",
                           {{"Radio Sylvane", "http://sylvane.example/", "mms://sylvane.example/live"},
                            {"Jazz", "", "mms://jazz.example/"}});
        ASSERT_TRUE(harness.Create());
        harness.dialog.LoadMediaList(mediaList);
    }

    // Fills the definition area and presses "Ajouter".
    // An empty `media` leaves no media item selected.
    void Add(const std::string& name, const std::vector<int>& dayIndexes, const std::string& hour,
             const std::string& minute, const std::string& media = "Radio Sylvane")
    {
        AddThrough(harness, name, dayIndexes, hour, minute, media);
    }
    static void AddThrough(DialogHarness& harness, const std::string& name,
                           const std::vector<int>& dayIndexes, const std::string& hour,
                           const std::string& minute, const std::string& media = "Radio Sylvane")
    {
        harness.SetText(IDC_PROGRAM_NAME, name);
        harness.Item(IDC_MEDIA_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1));
        if (!media.empty())
            harness.SelectMedia(media);
        for (int id = IDC_DAY1; id <= IDC_DAY7; ++id)
            harness.Check(id, false);
        for (int day : dayIndexes)
            harness.Check(IDC_DAY1 + day, true);
        harness.SetText(IDC_HOUR, hour);
        harness.SetText(IDC_MINUTE, minute);
        harness.Click(IDC_BUTTON_ADD);
    }

    std::string LastMessage() const
    {
        return harness.dialog.shown.empty() ? std::string() : harness.dialog.shown.back().text;
    }

    TempFolder folder;
    std::string mediaList;
    DialogHarness harness;
};

} // namespace

TEST_F(MainDialog, StartsWithTheClockAndTheEditorDefaults)
{
    // Every caption and font is held against the form in the resources' tests; here, what the start sets.
    EXPECT_EQ(harness.Text(IDC_TITLE_TIME2), "Il est 08 h et 05 min.");

    EXPECT_EQ(harness.Text(IDC_HOUR), "12");
    EXPECT_EQ(harness.Text(IDC_MINUTE), "00");
    EXPECT_TRUE(harness.Checked(IDC_CONFIRM_YES));
    EXPECT_FALSE(harness.Checked(IDC_CONFIRM_NO));
    EXPECT_TRUE(harness.Checked(IDC_REPEAT_YES));
    EXPECT_FALSE(harness.Checked(IDC_REPEAT_NO));
    EXPECT_EQ(harness.Item(IDC_HOUR_SPIN, UDM_GETRANGE), MAKELONG(23, 0));
    EXPECT_EQ(harness.Item(IDC_MINUTE_SPIN, UDM_GETRANGE), MAKELONG(59, 0));
    EXPECT_EQ(LOWORD(harness.Item(IDC_HOUR_SPIN, UDM_GETPOS)), 12);
    EXPECT_EQ(reinterpret_cast<HWND>(harness.Item(IDC_HOUR_SPIN, UDM_GETBUDDY)),
              GetDlgItem(harness.dialog.hWnd, IDC_HOUR));
    // The scheduler timer runs: killing it succeeds.
    EXPECT_TRUE(KillTimer(harness.dialog.hWnd, 1));
    // The data folder was prepared and the list label names the list loaded.
    EXPECT_NE(std::string(harness.dialog.DataFolder()).find("\\Merovia\\Chronel\\"), std::string::npos);
    EXPECT_EQ(harness.Text(IDC_TEXT_LIST), mediaList);
}

TEST_F(MainDialog, AddShowsTheFirstFailingCheckWithItsIcon)
{
    struct Case
    {
        const char* what;
        std::string name, hour, minute, media;
        std::vector<int> days;
        const char* message;
        UINT icon;
    };
    const Case cases[] = {
        {"empty name", "", "99", "99", "", {}, "Aucun nom n'est défini !", MB_ICONERROR},
        {"no media", "Matin", "8", "0", "", {0}, "Aucun média n'est sélectionné !", MB_ICONERROR},
        {"no day", "Matin", "8", "0", "Jazz", {}, "Aucun jour n'est sélectionné !", MB_ICONERROR},
        {"hour 24",
         "Matin",
         "24",
         "0",
         "Jazz",
         {0},
         "L'heure doit être comprise entre 0H et 23H !",
         MB_ICONERROR},
        {"hour and minute out of range",
         "Matin",
         "24",
         "60",
         "Jazz",
         {0},
         "L'heure doit être comprise entre 0H et 23H !",
         MB_ICONERROR},
        {"huge hour",
         "Matin",
         "99999999999999999999",
         "0",
         "Jazz",
         {0},
         "L'heure doit être comprise entre 0H et 23H !",
         MB_ICONERROR},
        {"minute 60",
         "Matin",
         "23",
         "60",
         "Jazz",
         {0},
         "Les minutes doivent être comprise entre 0mn et 59mn !",
         MB_ICONERROR},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        harness.dialog.shown.clear();
        Add(c.name, c.days, c.hour, c.minute, c.media);
        ASSERT_EQ(harness.dialog.shown.size(), 1u);
        EXPECT_EQ(harness.dialog.shown[0].text, c.message);
        EXPECT_EQ(harness.dialog.shown[0].style, MB_OK | c.icon);
        EXPECT_EQ(harness.Item(IDC_PROGRAM_LIST, LB_GETCOUNT), 0);
        // The definition controls keep what the user typed.
        EXPECT_EQ(harness.Text(IDC_PROGRAM_NAME), c.name);
    }
}

TEST_F(MainDialog, AddKeepsAlphabeticalListSelectsTheNewProgramAndRefusesDuplicates)
{
    Add("Matin", {0}, "23", "59");
    Add("Nuit", {1}, "8", "0");
    ASSERT_TRUE(harness.dialog.shown.empty()) << LastMessage();
    Add("Soir", {2}, "20", "30", "Jazz");
    ASSERT_TRUE(harness.dialog.shown.empty()) << LastMessage();
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"Matin", "Nuit", "Soir"}));
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "Soir");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1), "Soir");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1B), "Jazz");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO2), "mercredi");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO3), "20 h et 30 min.");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO4), "Confirmation : Oui");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO5), "Répétition : Oui");

    // Case counts for names; a shared day at the same time is a duplicate schedule.
    Add("matin", {3}, "1", "1");
    EXPECT_TRUE(harness.dialog.shown.empty()) << LastMessage();
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "matin");
    Add("Matin", {4}, "2", "2");
    EXPECT_EQ(LastMessage(), "Il existe déjà un programme avec le même nom !");
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    Add("Autre", {1, 5}, "08", "00");
    EXPECT_EQ(LastMessage(), "Il existe déjà un programme avec le même horaire !");
    EXPECT_EQ(harness.dialog.Programs().Size(), 4u);

    // The list order is insertion order, whatever the list box shows.
    EXPECT_EQ(FieldText(harness.dialog.Programs()[3].name), "matin");
}

TEST_F(MainDialog, RemoveSelectsTheFollowingOrLastItemAndEmptyingRestoresPlaceholders)
{
    Add("A", {0}, "1", "0");
    Add("B", {0}, "2", "0");
    Add("C", {0}, "3", "0");
    ASSERT_EQ(harness.Item(IDC_PROGRAM_LIST, LB_GETCOUNT), 3);

    harness.Item(IDC_PROGRAM_LIST, LB_SETCURSEL, 2);
    harness.Click(IDC_BUTTON_REMOVE);
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "B");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1), "B");

    harness.Item(IDC_PROGRAM_LIST, LB_SETCURSEL, 0);
    harness.Click(IDC_BUTTON_REMOVE);
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "B");

    harness.Click(IDC_BUTTON_REMOVE);
    EXPECT_EQ(harness.Item(IDC_PROGRAM_LIST, LB_GETCOUNT), 0);
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "<none>");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1), "Aucun nom");
    EXPECT_TRUE(harness.dialog.shown.empty());

    harness.Click(IDC_BUTTON_REMOVE);
    EXPECT_EQ(LastMessage(), "Aucun programme n'est sélectionné !");
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

// Each item of the programme list box: its text and the record it points to.
std::vector<std::pair<std::string, LRESULT>> ProgramItems(const DialogHarness& harness)
{
    std::vector<std::pair<std::string, LRESULT>> items;
    const std::vector<std::string> texts = harness.ListTexts(IDC_PROGRAM_LIST);
    for (std::size_t i = 0; i < texts.size(); ++i)
        items.emplace_back(texts[i], harness.Item(IDC_PROGRAM_LIST, LB_GETITEMDATA, i));
    return items;
}

// A programme file of 300 records named by `nameOf(position)`, each at its own weekday and time.
Bytes ProgrammeFile(const std::function<std::string(int)>& nameOf)
{
    Bytes file;
    for (int i = 0; i < 300; ++i)
    {
        Bytes record(1054, 0);
        PutText(record, 0, nameOf(i));
        PutText(record, 260, "Jazz");
        PutText(record, 780, "mms://jazz.example/");
        record[1040 + i % 7] = 1;
        record[1048] = static_cast<unsigned char>(i / 7 % 24);
        record[1050] = static_cast<unsigned char>(i / 168);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

TEST_F(MainDialog, ALongListChangedItemByItemIsTheListAFreshFillGives)
{
    // With names equal but for case, the list box puts equal names where the order of all its insertions
    // led them; with distinct names, each name has one place.
    const char* const words[] = {"Radio", "Émission", "jazz", "Matin", "Zéphyr"};
    const Bytes equalNames = ProgrammeFile([&](int i) {
        std::string name = std::string(words[i % 5]) + " " + std::to_string(i * 37 % 50);
        for (char& c : name)
        {
            const int letter = static_cast<unsigned char>(c);
            c = static_cast<char>(i / 5 % 3 == 0   ? letter
                                  : i / 5 % 3 == 1 ? std::toupper(letter)
                                                   : std::tolower(letter));
        }
        return name;
    });
    const Bytes distinctNames =
        ProgrammeFile([&](int i) { return std::string(words[i % 5]) + " " + std::to_string(i * 37 % 1000); });

    for (const Bytes* file : {&equalNames, &distinctNames})
    {
        SCOPED_TRACE(file == &equalNames ? "names equal but for case" : "distinct names");
        WriteBytes(harness.dialog.ProgramFilePath(), *file);
        DialogHarness second;
        ASSERT_TRUE(second.Create());
        ASSERT_EQ(second.Item(IDC_PROGRAM_LIST, LB_GETCOUNT), 300);

        // A removal selects the item now at the removed one's place, or the last one; an add selects the new
        // programme. Each change gives the text it should leave selected.
        auto remove = [&](std::size_t item) {
            second.Item(IDC_PROGRAM_LIST, LB_SETCURSEL, item);
            second.Click(IDC_BUTTON_REMOVE);
            const std::vector<std::string> after = second.ListTexts(IDC_PROGRAM_LIST);
            return after[item < after.size() ? item : after.size() - 1];
        };
        auto count = [&] { return static_cast<std::size_t>(second.Item(IDC_PROGRAM_LIST, LB_GETCOUNT)); };
        auto add = [&](const std::string& name, const std::string& hour, const std::string& minute) {
            AddThrough(second, name, {6}, hour, minute);
            return name;
        };
        struct Step
        {
            const char* what;
            std::function<std::string()> change;
        };
        const Step steps[] = {
            {"an add among names equal but for case", [&] { return add("rADIO 0", "23", "59"); }},
            {"an add at the end", [&] { return add("Zz", "23", "58"); }},
            {"removing the first item", [&] { return remove(0); }},
            {"removing an item from the middle", [&] { return remove(count() / 2); }},
            {"removing the last item", [&] { return remove(count() - 1); }},
            {"adding past the room kept after the load",
             [&] {
                 for (int k = 0; k < 70; ++k)
                     add("Ajout " + std::to_string(k), std::to_string(10 + k / 50),
                         std::to_string(2 + k % 50));
                 return std::string("Ajout 69");
             }},
            {"removing after the storage moved", [&] { return remove(count() / 3); }},
        };
        for (const Step& step : steps)
        {
            SCOPED_TRACE(step.what);
            const std::string selected = step.change();
            ASSERT_TRUE(second.dialog.shown.empty()) << second.dialog.shown.back().text;
            EXPECT_EQ(second.SelectedText(IDC_PROGRAM_LIST), selected);
            EXPECT_EQ(second.Text(IDC_TEXT_INFO1), selected);
            // Every item names the record at its position, and the list is the one a fresh fill gives.
            const auto items = ProgramItems(second);
            ASSERT_EQ(items.size(), second.dialog.Programs().Size());
            for (const auto& [text, data] : items)
            {
                ASSERT_LT(static_cast<std::size_t>(data), second.dialog.Programs().Size());
                ASSERT_EQ(FieldText(second.dialog.Programs()[static_cast<std::size_t>(data)].name), text);
            }
            second.dialog.RefreshProgramList();
            EXPECT_EQ(ProgramItems(second), items);
        }
    }
}

TEST_F(MainDialog, EveryChangeIsSavedAtOnce)
{
    Add("Matin", {0, 2, 4}, "8", "5");
    const Bytes saved = ReadBytes(harness.dialog.ProgramFilePath());
    ASSERT_EQ(saved.size(), 1054u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(saved.data())), "Matin");
    EXPECT_EQ(saved[1040], 1);
    EXPECT_EQ(saved[1041], 0);
    EXPECT_EQ(saved[1048], 8);
    EXPECT_EQ(saved[1050], 5);

    harness.Item(IDC_PROGRAM_LIST, LB_SETCURSEL, 0);
    harness.Click(IDC_BUTTON_REMOVE);
    EXPECT_TRUE(ReadBytes(harness.dialog.ProgramFilePath()).empty());
}

TEST_F(MainDialog, AllDaysChecksAndUnchecksTheSevenDays)
{
    harness.Check(IDC_DAY2, true);
    harness.Check(IDC_ALL_DAYS, true);
    harness.Click(IDC_ALL_DAYS);
    for (int id = IDC_DAY1; id <= IDC_DAY7; ++id)
        EXPECT_TRUE(harness.Checked(id)) << id;
    harness.Check(IDC_DAY2, false);
    harness.Click(IDC_DAY2);
    EXPECT_TRUE(harness.Checked(IDC_ALL_DAYS)); // a single day never changes "tous"
    harness.Check(IDC_ALL_DAYS, false);
    harness.Click(IDC_ALL_DAYS);
    for (int id = IDC_DAY1; id <= IDC_DAY7; ++id)
        EXPECT_FALSE(harness.Checked(id)) << id;
}

TEST_F(MainDialog, MediaListsLoadInSortedOrderAndBadOnesAreReported)
{
    const std::string ordered = WriteMediaList(
        folder, "ordre.tsl", {{"Beta", "", "mms://b"}, {"alpha", "", "mms://a"}, {"Gamma", "", "mms://g"}});
    harness.dialog.chosenPath = ordered;
    harness.Click(IDC_BUTTON_LIST);
    EXPECT_TRUE(harness.dialog.shown.empty());
    EXPECT_EQ(harness.ListTexts(IDC_MEDIA_LIST), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETITEMDATA, 0), 1);
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETITEMDATA, 1), 0);
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETITEMDATA, 2), 2);
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(harness.Text(IDC_TEXT_LIST), ordered);
    EXPECT_EQ(MediaListValue(), ordered);

    // Cancelling the file dialog changes nothing and shows nothing.
    harness.dialog.chosenPath.clear();
    harness.Click(IDC_BUTTON_LIST);
    EXPECT_TRUE(harness.dialog.shown.empty());
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETCOUNT), 3);

    // A list that cannot be opened, or a path longer than the program can hold (the open-file dialog's own
    // answer): message, and the list still loaded stays listed and named.
    for (const bool tooLong : {false, true})
    {
        harness.dialog.shown.clear();
        harness.dialog.chosenPath = tooLong ? ordered : folder.File("absente.slv");
        harness.dialog.chosenTooLong = tooLong;
        harness.Click(IDC_BUTTON_LIST);
        EXPECT_EQ(LastMessage(), "Chargement de la liste des médias impossible !") << tooLong;
        EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETCOUNT), 3);
        EXPECT_EQ(harness.Text(IDC_TEXT_LIST), ordered);
    }
    harness.dialog.chosenTooLong = false;

    // A file that is not a media list empties the list; the registry keeps the good one.
    const std::string bad = folder.File("sept.slv");
    WriteBytes(bad, Bytes(7, 1));
    harness.dialog.chosenPath = bad;
    harness.Click(IDC_BUTTON_LIST);
    EXPECT_EQ(LastMessage(), "La liste des médias n'est pas un fichier valide !");
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(harness.Item(IDC_MEDIA_LIST, LB_GETCOUNT), 0);
    EXPECT_EQ(harness.Text(IDC_TEXT_LIST), "Aucune liste n'est actuellement chargée !");
    EXPECT_EQ(MediaListValue(), ordered);

    // A valid list without entries is a successful load.
    const std::string empty = WriteMediaList(folder, "vide.slv", {});
    harness.dialog.LoadMediaList(empty);
    EXPECT_EQ(harness.Text(IDC_TEXT_LIST), empty);
    EXPECT_EQ(MediaListValue(), empty);
}

TEST_F(MainDialog, ProgrammesAndMediaListComeBackAtTheNextStart)
{
    Add("Soir", {6}, "21", "0");
    Add("Matin", {0}, "8", "5");
    harness.dialog.shown.clear();

    DialogHarness second;
    ASSERT_TRUE(second.Create());
    EXPECT_EQ(second.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"Matin", "Soir"}));
    EXPECT_EQ(second.SelectedText(IDC_PROGRAM_LIST), "<none>");
    EXPECT_EQ(second.ListTexts(IDC_MEDIA_LIST), (std::vector<std::string>{"Jazz", "Radio Sylvane"}));
    EXPECT_EQ(FieldText(second.dialog.Programs()[0].name), "Soir"); // file order
    EXPECT_TRUE(second.dialog.shown.empty());
}

TEST_F(MainDialog, ActivationSwitchWritesTheRunEntryAndActive)
{
    auto runEntry = [] {
        RegKey run = OpenMachineKey(RunKeyPath);
        char value[MAX_PATH + 3] = {};
        DWORD size = sizeof value;
        if (RegQueryValueExA(run.Get(), "Sylvane Programmateur", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
            return std::string("<none>");
        return std::string(value);
    };
    auto activeValue = [] {
        RegKey key = OpenSettingsKey();
        DWORD value = 99, size = sizeof value;
        RegQueryValueExA(key.Get(), "Active", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        return value;
    };
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (RegKey run = OpenMachineKey(RunKeyPath))
        WriteStringValue(run.Get(), "Sylvane Programmateur", "avant");

    // Switching off, cancelled: still on, entry untouched, "Active" written as 1.
    harness.dialog.answers = {IDCANCEL};
    harness.Click(IDC_BUTTON_ACTIVE);
    EXPECT_TRUE(harness.dialog.Active());
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(harness.Text(IDC_BUTTON_ACTIVE), "Désactiver");
    EXPECT_EQ(runEntry(), "avant");
    EXPECT_EQ(activeValue(), 1u);

    // Switching off, confirmed.
    harness.dialog.answers = {IDOK};
    harness.Click(IDC_BUTTON_ACTIVE);
    EXPECT_FALSE(harness.dialog.Active());
    EXPECT_EQ(harness.Text(IDC_TITLE_ACTIVE), "Programmes désactivés");
    EXPECT_EQ(harness.Text(IDC_BUTTON_ACTIVE), "Activer");
    EXPECT_EQ(runEntry(), "<none>");
    EXPECT_EQ(activeValue(), 0u);

    // Switching on asks nothing and writes the quoted executable path.
    const std::size_t asked = harness.dialog.shown.size();
    harness.Click(IDC_BUTTON_ACTIVE);
    EXPECT_EQ(harness.dialog.shown.size(), asked);
    EXPECT_TRUE(harness.dialog.Active());
    EXPECT_EQ(harness.Text(IDC_TITLE_ACTIVE), "Programmes activés");
    EXPECT_EQ(runEntry(), std::string("\"") + exe + "\"");
    EXPECT_EQ(activeValue(), 1u);
}

TEST_F(MainDialog, TheTickFiresTheDueProgrammeThroughTheDialogAndRemovesIt)
{
    TempFolder playerLog;
    SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", playerLog.Path().string().c_str());
    harness.Check(IDC_REPEAT_NO, true);
    harness.Check(IDC_REPEAT_YES, false);
    Add("Matin", {0}, "8", "5");
    harness.Check(IDC_REPEAT_YES, true);
    harness.Check(IDC_REPEAT_NO, false);
    Add("Garde", {0}, "8", "6");
    ASSERT_TRUE(harness.dialog.shown.empty()) << LastMessage();

    harness.dialog.clock = {1, 8, 5};
    // Another timer's id does nothing.
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 7, 0);
    EXPECT_EQ(harness.Text(IDC_TITLE_TIME2), "Il est 08 h et 05 min."); // from the start-up

    harness.dialog.clock = {1, 8, 4};
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(harness.Text(IDC_TITLE_TIME2), "Il est 08 h et 04 min.");

    harness.dialog.clock = {1, 8, 5};
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    ASSERT_EQ(harness.dialog.shown.size(), 1u);
    EXPECT_EQ(harness.dialog.shown[0].text, "Souhaitez vous écouter [Matin] sur [Radio Sylvane] ?");
    EXPECT_EQ(harness.dialog.shown[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));

    const std::string playlist = std::string(harness.dialog.DataFolder()) + "media.asx";
    const Bytes written = ReadBytes(playlist);
    const std::string text(written.begin(), written.end());
    EXPECT_EQ(text.rfind("<ASX version=\"3.0\">\t\t\t\t\t\r\n\t<TITLE>Matin</TITLE>", 0), 0u) << text;

    // The player was asked to open the quoted playlist.
    std::string commandLine;
    WaitFor([&] {
        for (const auto& entry : std::filesystem::directory_iterator(playerLog.Path()))
            if (entry.path().extension() == ".txt")
            {
                const Bytes bytes = ReadBytes(entry.path().string());
                commandLine.assign(bytes.begin(), bytes.end());
            }
        return !commandLine.empty();
    });
    EXPECT_NE(commandLine.find(" \"" + playlist + "\""), std::string::npos) << commandLine;

    // The programme without repetition left the list and the file; the other one stays.
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"Garde"}));
    EXPECT_EQ(ReadBytes(harness.dialog.ProgramFilePath()).size(), 1054u);

    // The same minute is not checked twice; a switched-off scheduler does nothing at all.
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(harness.dialog.shown.size(), 1u);
    harness.dialog.active = 0;
    harness.dialog.clock = {1, 8, 6};
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(harness.Text(IDC_TITLE_TIME2), "Il est 08 h et 05 min.");
    EXPECT_EQ(harness.dialog.shown.size(), 1u);
    harness.dialog.active = 1;
    harness.dialog.answers = {IDCANCEL};
    SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(harness.dialog.shown.size(), 2u);
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"Garde"})); // it repeats
    SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", nullptr);
}

TEST_F(MainDialog, SavesThatKeepFailingAreReportedOnceUntilOneSucceeds)
{
    const std::string programFile = harness.dialog.ProgramFilePath();
    ASSERT_TRUE(CreateDirectoryA(programFile.c_str(), nullptr)); // a folder where the file should go
    const std::string saveFailed = "Sauvegarde de la liste des programmes impossible !";

    Add("A", {0}, "1", "0");
    ASSERT_EQ(harness.dialog.shown.size(), 1u);
    EXPECT_EQ(LastMessage(), saveFailed);
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    Add("B", {0}, "2", "0");
    EXPECT_EQ(harness.dialog.shown.size(), 1u);
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"A", "B"}));

    // The quit's save always tells.
    EXPECT_FALSE(harness.dialog.SaveProgramList());
    EXPECT_EQ(harness.dialog.shown.size(), 2u);

    // Once a save succeeds, the next failure is told again.
    ASSERT_TRUE(RemoveDirectoryA(programFile.c_str()));
    Add("C", {0}, "3", "0");
    EXPECT_EQ(harness.dialog.shown.size(), 2u);
    EXPECT_EQ(ReadBytes(programFile).size(), 3 * 1054u);
    DeleteFileA(programFile.c_str());
    ASSERT_TRUE(CreateDirectoryA(programFile.c_str(), nullptr));
    Add("D", {0}, "4", "0");
    EXPECT_EQ(harness.dialog.shown.size(), 3u);
    EXPECT_EQ(LastMessage(), saveFailed);
    RemoveDirectoryA(programFile.c_str());
}

TEST_F(MainDialog, AFiredProgrammeLeavesTheSelectionOnTheSelectedRecordAndAFailedLaunchKeepsIt)
{
    harness.Check(IDC_REPEAT_NO, true);
    harness.Check(IDC_REPEAT_YES, false);
    harness.Check(IDC_CONFIRM_NO, true);
    harness.Check(IDC_CONFIRM_YES, false);
    // In list order A, B, C, D; A and C are due at 08:05 on Monday, B at 08:06.
    Add("A", {0}, "8", "5");
    Add("B", {0}, "8", "6");
    Add("C", {0}, "8", "7");
    Add("D", {0}, "9", "0");
    ASSERT_TRUE(harness.dialog.shown.empty()) << LastMessage();
    const std::string launchFailed = "Lancement du programme impossible !";
    auto tick = [&](int minute) {
        harness.dialog.clock = {1, 8, minute};
        SendMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
    };

    // The playlist cannot be written: the user is told and the programme stays, in the list and the file.
    TempFolder missing;
    const std::string gone = missing.Path().string() + "\\absent\\";
    harness.dialog.SetDataFolder(gone.c_str());
    harness.Item(IDC_PROGRAM_LIST, LB_SETCURSEL, 1);
    tick(5);
    ASSERT_EQ(harness.dialog.shown.size(), 1u);
    EXPECT_EQ(LastMessage(), launchFailed);
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(ReadBytes(harness.dialog.ProgramFilePath()).size(), 4 * 1054u);

    // With B selected, A fires and leaves: B stays selected and described (its position moved up).
    TempFolder data;
    harness.dialog.SetDataFolder((data.Path().string() + "\\").c_str());
    TempFolder playerLog;
    SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", playerLog.Path().string().c_str());
    tick(5);
    tick(7); // the minute turned: a fresh check
    EXPECT_EQ(harness.dialog.shown.size(), 1u) << LastMessage();
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"A", "B", "D"}));
    tick(5);
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "B");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1), "B");

    // The selected record itself fires: nothing is selected and the panel shows its placeholders.
    tick(6);
    EXPECT_EQ(harness.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"D"}));
    EXPECT_EQ(harness.SelectedText(IDC_PROGRAM_LIST), "<none>");
    EXPECT_EQ(harness.Text(IDC_TEXT_INFO1), "Aucun nom");
    EXPECT_EQ(ReadBytes(harness.dialog.ProgramFilePath()).size(), 1054u);
    SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", nullptr);
}

TEST_F(MainDialog, ARefusedAutostartChangeIsReportedAndTheSwitchKeepsTheUsersChoice)
{
    const std::string refused = "Modification du lancement automatique impossible !";
    harness.dialog.autostartRefused = true;
    harness.dialog.answers = {IDOK};
    harness.Click(IDC_BUTTON_ACTIVE);
    ASSERT_EQ(harness.dialog.shown.size(), 2u);
    EXPECT_EQ(LastMessage(), refused);
    EXPECT_EQ(harness.dialog.shown.back().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(harness.dialog.Active());
    EXPECT_EQ(harness.Text(IDC_BUTTON_ACTIVE), "Activer");

    harness.Click(IDC_BUTTON_ACTIVE);
    ASSERT_EQ(harness.dialog.shown.size(), 3u);
    EXPECT_EQ(LastMessage(), refused);
    EXPECT_TRUE(harness.dialog.Active());
    EXPECT_EQ(harness.Text(IDC_TITLE_ACTIVE), "Programmes activés");

    // A cancelled switch-off changes nothing and so reports nothing.
    harness.dialog.answers = {IDCANCEL};
    harness.Click(IDC_BUTTON_ACTIVE);
    EXPECT_EQ(harness.dialog.shown.size(), 4u);
    EXPECT_NE(LastMessage(), refused);
}

namespace
{

// A process of the system's command interpreter that ends with `code`, as the elevated run would.
UniqueKernelHandle ProcessEndingWith(int code)
{
    char command[64] = {};
    wsprintfA(command, "cmd.exe /c exit %d", code);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return UniqueKernelHandle();
    CloseHandle(process.hThread);
    return UniqueKernelHandle(process.hProcess);
}

} // namespace

namespace
{

// Handles the thread's messages until `condition` holds, as the program's loop would; false on time-out.
template <class Condition> bool PumpUntil(Condition condition)
{
    return WaitFor([&] {
        PumpMessages();
        return condition();
    });
}

// The elevated run's prompt, held open until the test answers it.
HANDLE promptAnswered = nullptr;
HWND switchButton = nullptr;

} // namespace

TEST_F(MainDialog, TheElevatedSwitchNeverHoldsTheSchedulerAndReportsWhatTheRunDid)
{
    const std::string refused = "Modification du lancement automatique impossible !";
    enum class Run
    {
        Done,
        Failed,
        Declined,
        DoneAndWritten
    };
    const struct
    {
        const char* name;
        Run run;
        bool late;        // the prompt outlives the switch's limit
        bool duringABox;  // the run ends while another box of the dialog is open
        bool told;        // the failure message is shown
        bool activeAfter; // the switch's state once the run has ended
    } cases[] = {
        {"done", Run::Done, false, false, false, true},
        {"failed", Run::Failed, false, false, true, true},
        {"prompt declined", Run::Declined, false, false, true, true},
        {"done while a box is open", Run::Done, false, true, false, true},
        // Past the limit the user is told; the switch then follows what the Run value holds.
        {"late and failed", Run::Failed, true, false, true, false},
        {"late but done", Run::DoneAndWritten, true, false, true, true},
    };
    harness.dialog.runKeyDenied = true;
    UniqueKernelHandle answered{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    promptAnswered = answered.Get();
    switchButton = GetDlgItem(harness.dialog.hWnd, IDC_BUTTON_ACTIVE);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetEvent(promptAnswered);
        ASSERT_EQ(SetAutostartEntry(AppCaption, false), ERROR_SUCCESS);
        harness.dialog.active = 0;
        harness.dialog.elevatedSwitchTimeout = c.late ? 300 : 60000;
        harness.dialog.elevatedRuns.clear();
        harness.dialog.shown.clear();
        harness.dialog.elevatedRun = [run = c.run](DWORD& error) {
            WaitForSingleObject(promptAnswered, INFINITE);
            if (run == Run::Declined)
            {
                error = ERROR_CANCELLED;
                return UniqueKernelHandle();
            }
            if (run == Run::DoneAndWritten)
                SetAutostartEntry(AppCaption, true);
            return ProcessEndingWith(run == Run::Failed ? 1 : 0);
        };

        // Switching on: the prompt is open and the scheduler goes on.
        harness.Click(IDC_BUTTON_ACTIVE);
        EXPECT_TRUE(harness.dialog.Active()) << "the switch shows the user's choice at once";
        harness.dialog.clock = {1, 9, 41};
        PostMessageA(harness.dialog.hWnd, WM_TIMER, 1, 0);
        EXPECT_TRUE(PumpUntil([&] { return harness.Text(IDC_TITLE_TIME2) == "Il est 09 h et 41 min."; }));
        EXPECT_FALSE(IsWindowEnabled(switchButton));
        // A second press while the run is pending asks nothing and starts nothing.
        harness.Click(IDC_BUTTON_ACTIVE);
        EXPECT_TRUE(harness.dialog.shown.empty());
        if (c.late)
        {
            EXPECT_TRUE(PumpUntil([&] { return harness.dialog.shown.size() == 1; }));
            EXPECT_FALSE(IsWindowEnabled(switchButton));
        }

        if (c.duringABox)
        {
            // "Retirer" without a selection shows a box; its loop handles the run's end.
            harness.dialog.onMessage = [] {
                SetEvent(promptAnswered);
                PumpUntil([] { return IsWindowEnabled(switchButton) != FALSE; });
            };
            harness.Click(IDC_BUTTON_REMOVE);
            harness.dialog.onMessage = nullptr;
            harness.dialog.shown.pop_back();
        }
        else
        {
            SetEvent(promptAnswered);
        }
        EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(switchButton) != FALSE; }));
        EXPECT_EQ(!harness.dialog.shown.empty() && harness.dialog.shown.back().text == refused, c.told);
        EXPECT_EQ(harness.dialog.shown.size(), c.told ? 1u : 0u) << "told once";
        EXPECT_EQ(harness.dialog.Active(), c.activeAfter);
        EXPECT_EQ(harness.Text(IDC_BUTTON_ACTIVE), c.activeAfter ? "Désactiver" : "Activer");
        EXPECT_EQ(harness.dialog.elevatedRuns, (std::vector<bool>{true}));
    }
    // Refused for another reason than the user's rights: no elevated run, the message at once.
    harness.dialog.runKeyDenied = false;
    harness.dialog.autostartRefused = true;
    harness.dialog.elevatedRuns.clear();
    harness.dialog.answers = {IDOK};
    harness.Click(IDC_BUTTON_ACTIVE);
    EXPECT_TRUE(harness.dialog.elevatedRuns.empty());
    EXPECT_EQ(LastMessage(), refused);
}

TEST_F(MainDialog, ASettingsKeyThatMayOnlyBeReadLosesNoProgramme)
{
    Add("Matin", {0}, "8", "5");
    ASSERT_TRUE(harness.dialog.shown.empty());
    const std::string programFile = harness.dialog.ProgramFilePath();

    DialogHarness second;
    second.dialog.settingsWriteRefused = true;
    ASSERT_TRUE(second.Create());
    EXPECT_EQ(second.ListTexts(IDC_MEDIA_LIST), (std::vector<std::string>{"Jazz", "Radio Sylvane"}))
        << "the remembered list is read";
    EXPECT_EQ(second.ListTexts(IDC_PROGRAM_LIST), (std::vector<std::string>{"Matin"}));
    EXPECT_EQ(second.dialog.ProgramFilePath(), programFile);
    EXPECT_NE(std::string(second.dialog.DataFolder()), "");
    AddThrough(second, "Soir", {6}, "21", "0");
    EXPECT_TRUE(second.dialog.shown.empty()) << second.dialog.shown.front().text;
    std::vector<ProgramRecord> saved;
    ASSERT_EQ(ReadProgramFile(programFile, saved), ProgramFileRead::Read);
    EXPECT_EQ(saved.size(), 2u);
}
