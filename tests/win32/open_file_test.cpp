// The open-file dialog through the path boundary, worked from a second thread as a user would: the answer is
// the chosen path whole (UTF-8), or a cancel, or a path too long for the buffer, never a cut one.
#include "base/System_win.h"

#include <commdlg.h>

#include "../Wait.h"
#include "../core/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace
{

constexpr int FileNameBox = 0x047C;

BOOL CALLBACK KeepFileDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && GetDlgItem(window, FileNameBox))
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// Asks for a file while another thread types `typed` (UTF-16) into the dialog and presses `button`.
OpenFileAnswer AskWhileTyping(const std::wstring& typed, int button, std::size_t limit)
{
    const DWORD dialogThread = GetCurrentThreadId();
    std::thread user([&] {
        HWND dialog = nullptr;
        WaitFor([&] {
            EnumThreadWindows(dialogThread, KeepFileDialog, reinterpret_cast<LPARAM>(&dialog));
            return dialog != nullptr;
        });
        if (!dialog)
            return;
        SendMessageW(GetDlgItem(dialog, FileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    const OpenFileAnswer answer =
        AskForFileToOpen(nullptr, std::string_view("Tous\0*.*\0", 10), OFN_EXPLORER, limit);
    user.join();
    return answer;
}

} // namespace

TEST(OpenFileDialog, TheAnswerIsTheWholePathACancelOrAPathTooLongToHold)
{
    TempFolder temp;
    const std::string folder = temp.Utf8File(u8"Łódź Иван");
    std::filesystem::create_directory(std::filesystem::u8path(folder));
    const std::string path = folder + u8"\\liste 音乐.slv";
    std::ofstream(std::filesystem::u8path(path)) << "x";
    const std::wstring typed = std::filesystem::u8path(path).wstring();

    struct Case
    {
        const char* what;
        int button;
        std::size_t limit;
        FileChoice choice;
        std::string path;
    };
    const Case cases[] = {
        {"chosen", IDOK, 260, FileChoice::Chosen, path},
        {"cancelled", IDCANCEL, 260, FileChoice::Cancelled, ""},
        {"one unit too long", IDOK, typed.size(), FileChoice::TooLong, ""},
        {"just long enough", IDOK, typed.size() + 1, FileChoice::Chosen, path},
    };
    for (const Case& c : cases)
    {
        const OpenFileAnswer answer = AskWhileTyping(typed, c.button, c.limit);
        EXPECT_EQ(answer.choice, c.choice) << c.what;
        EXPECT_EQ(answer.path, c.path) << c.what;
    }
}
