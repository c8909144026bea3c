#include "ui/framework/ListBox.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{

// A sorted list box of its own, in a hidden parent that counts the WM_DELETEITEM it gets.
class SortedBox
{
public:
    SortedBox()
    {
        static const ATOM parentClass = [] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = ParentProc;
            windowClass.lpszClassName = "ListBoxTestParent";
            return RegisterClassA(&windowClass);
        }();
        (void)parentClass;
        parent = CreateWindowA("ListBoxTestParent", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                               nullptr);
        list = CreateWindowA("ListBox", "", WS_CHILD | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_HASSTRINGS, 0,
                             0, 200, 200, parent, nullptr, nullptr, nullptr);
    }
    ~SortedBox() { DestroyWindow(parent); }

    // Every item as its text and item data, from the top.
    std::vector<std::pair<std::string, LRESULT>> Items() const
    {
        std::vector<std::pair<std::string, LRESULT>> items;
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
        {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.emplace_back(text, SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        }
        return items;
    }

    static int deleteItems;
    HWND parent = nullptr;
    HWND list = nullptr;

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DELETEITEM)
            ++deleteItems;
        return DefWindowProcA(window, message, wParam, lParam);
    }
};
int SortedBox::deleteItems = 0;

// The list the box makes itself: each text added in turn and placed by the box's own sorting.
std::vector<std::pair<std::string, LRESULT>> BoxOwnOrder(const std::vector<std::string>& texts)
{
    SortedBox box;
    for (std::size_t i = 0; i < texts.size(); ++i)
    {
        const LRESULT item =
            SendMessageA(box.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i].c_str()));
        SendMessageA(box.list, LB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i + 1));
    }
    return box.Items();
}

// Texts drawn from the letters that sort unlike their bytes in code page 1252: accents, case, ligatures,
// the hyphen and apostrophe that word sorting nearly ignores, signs, digits and blanks. A number makes each
// text distinct.
std::vector<std::string> TrickyTexts(std::size_t count, bool distinct)
{
    static const char* const pieces[] = {"a", "A",    "\xE0", "\xC0", "e",  "\xE9", "\xC9", "\xE8", "\xEA",
                                         "o", "\x9C", "\x8C", "oe",   "OE", "\xE6", "ae",   "\xDF", "ss",
                                         "-", "'",    " ",    "_",    ".",  "0",    "9",    "10",   "\xE7",
                                         "c", "\xFF", "y",    "z",    "Z",  "\x8A", "s",    "(",    "~"};
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 6);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i)
    {
        std::string text;
        for (int k = length(random); k > 0; --k)
            text += pieces[piece(random)];
        texts.push_back(distinct ? text + " " + std::to_string(i) : text);
    }
    return texts;
}

} // namespace

TEST(ListBoxFill, ItemsStandWhereTheBoxsOwnSortingPutsThem)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> texts;
        bool byKeys; // false: two texts compare equal and the box places the items itself
    };
    const Case cases[] = {
        {"none", {}, false},
        {"one", {"Radio"}, false},
        {"case and accents",
         {"Beta", "alpha", "Gamma", "\xE9t\xE9", "Ete", "\xC9t\xE9s", "etes", "zoo"},
         true},
        {"hyphens, apostrophes and ligatures",
         {"co-op", "coop", "l'\xE9t\xE9", "le t\xE9", "\x9Cuvre", "oeuvres",
          "Stra\xDF"
          "e",
          "strasse 2"},
         true},
        {"signs, digits and blanks", {"10", "9", " 9", "_x", "(x)", "x.", "~", "X 1", "x1"}, true},
        {"equal but for case", {"Matin", "soir", "MATIN", "Soir", "matin", "Midi"}, false},
        {"the same text twice", {"Jazz", "Classique", "Jazz"}, false},
        {"a long list of distinct texts", TrickyTexts(3000, true), true},
        {"a long list with equal texts", TrickyTexts(3000, false), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<ListItem> items;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            items.push_back({c.texts[i], static_cast<LPARAM>(i + 1)});
        SortedBox box;
        EXPECT_EQ(FillSortedListBox(box.list, items), c.byKeys);
        const auto filled = box.Items();
        const auto expected = BoxOwnOrder(c.texts);
        ASSERT_EQ(filled.size(), expected.size());
        for (std::size_t i = 0; i < filled.size(); ++i)
            ASSERT_EQ(filled[i], expected[i]) << "item " << i;

        // Emptied, the box tells its parent nothing, and a later text still finds its place.
        SortedBox::deleteItems = 0;
        EmptyListBox(box.list);
        EXPECT_EQ(SortedBox::deleteItems, 0);
        EXPECT_EQ(SendMessageA(box.list, LB_GETCOUNT, 0, 0), 0);
        SendMessageA(box.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b"));
        EXPECT_EQ(SendMessageA(box.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("A")), 0);
    }
}
