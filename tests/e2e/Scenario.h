// What every scenario shares: a machine on which the scheduler never ran before it starts, no scheduler left
// behind after it ends, and the checks and steps that several scenarios repeat.
#pragma once

#include "Chronel.h"
#include "Desktop.h"
#include "Fixtures.h"
#include "Machine.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace e2e
{

class Scenario : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EndLeftoverSchedulers();
        ClearStaleTrayIcons();
        ResetMachine();
    }
    void TearDown() override
    {
        app.reset();
        EndLeftoverSchedulers();
    }

    Chronel& Start()
    {
        app = std::make_unique<Chronel>();
        return *app;
    }

    std::unique_ptr<Chronel> app;
};

// Byte-for-byte equality of file contents, telling where they part.
inline ::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                            const std::string& expected)
{
    if (!actual)
        return ::testing::AssertionFailure() << "the file does not exist";
    if (*actual == expected)
        return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual->size() && at < expected.size() && (*actual)[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure() << actual->size() << " bytes instead of " << expected.size()
                                         << ", first difference at offset " << at;
}

// A message box of the scheduler: its caption, text and icon as shown.
inline void ExpectMessage(const MessageBoxView& box, const std::string& text, BoxIcon icon)
{
    EXPECT_EQ(box.caption, texts::Caption);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(IconName(box.icon), std::string(IconName(icon))) << "for \"" << box.text << "\"";
}

// "Charger", then the path typed into the open-file dialog and confirmed.
inline void LoadMediaList(const Chronel& app, const std::string& path)
{
    app.Press(ids::LoadButton);
    ChooseFile(WaitForFileDialog(app.Process()), path);
    app.Settle();
}

// "Ajouter", which must list `name` without any message.
inline void AddProgram(const Chronel& app, const std::string& name)
{
    app.Press(ids::AddButton);
    const bool listed = WaitFor([&] {
        for (const std::string& item : app.Items(ids::ProgramList))
            if (item == name)
                return true;
        return !NoMessageBoxWithin(app.Process(), 0);
    });
    if (!NoMessageBoxWithin(app.Process(), 0))
        throw BenchError("adding \"" + name + "\" showed \"" + WaitForMessageBox(app.Process(), "").text +
                         "\"");
    if (!listed)
        throw BenchError("\"" + name + "\" was not listed after \"Ajouter\"");
    app.Settle();
}

// What the system does when the user logs off: asks every top-level window of the process whether the session
// may end, then tells each of them that it ends (or that it goes on).
inline bool QueryEndSession(const Chronel& app)
{
    bool agreed = true;
    for (HWND window : ProcessWindows(app.Process()))
    {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, StepTimeout,
                                 &answer))
            throw BenchError("a window of class \"" + ClassOf(window) + "\" held up the end of the session");
        agreed = agreed && answer != 0;
    }
    return agreed;
}

inline void EndSession(const Chronel& app, bool ending)
{
    for (HWND window : ProcessWindows(app.Process()))
    {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_ENDSESSION, ending, ENDSESSION_LOGOFF, SMTO_NORMAL, StepTimeout,
                                 &answer))
            throw BenchError("a window of class \"" + ClassOf(window) + "\" held up the end of the session");
    }
}

// The media lists the scenarios load.
inline const std::vector<MediaFixture>& Stations()
{
    static const std::vector<MediaFixture> stations = {
        {"Jazz du Soir", "http://radio.example/jazz", "http://flux.example/jazz.mp3", 1},
        {"Chaîne Découverte", "http://radio.example/decouverte", "http://flux.example/decouverte.mp3", 0},
        {"Actualités", "http://radio.example/actualites", "http://flux.example/actualites.mp3", 3},
    };
    return stations;
}

// A media list file written for the scenario and remembered as the list loaded last.
inline std::string RememberStations()
{
    const std::string path = BuildMediaList("stations.slv", Stations());
    WriteMachineString(SettingsKey, "Media List", path);
    return path;
}

} // namespace e2e
