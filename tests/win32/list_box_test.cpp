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

// How many items of a sorted list compare equal to the item before or after them, as the box compares.
std::size_t EqualToANeighbour(HWND list, const std::vector<std::pair<std::string, LRESULT>>& items)
{
    const LCID locale = static_cast<LCID>(SendMessageA(list, LB_GETLOCALE, 0, 0));
    auto equal = [&](std::size_t a, std::size_t b) {
        return CompareStringA(locale, NORM_IGNORECASE, items[a].first.c_str(), -1, items[b].first.c_str(),
                              -1) == CSTR_EQUAL;
    };
    std::size_t count = 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        if ((i > 0 && equal(i - 1, i)) || (i + 1 < items.size() && equal(i, i + 1)))
            ++count;
    return count;
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
        std::size_t boxPlaced; // the items whose text compares equal to another's
    };
    const std::size_t Neighbours = static_cast<std::size_t>(-1); // counted from the box's own list
    const Case cases[] = {
        {"none", {}, 0},
        {"one", {"Radio"}, 1},
        {"case and accents", {"Beta", "alpha", "Gamma", "\xE9t\xE9", "Ete", "\xC9t\xE9s", "etes", "zoo"}, 0},
        {"hyphens, apostrophes and ligatures",
         {"co-op", "coop", "l'\xE9t\xE9", "le t\xE9", "\x9Cuvre", "oeuvres", "Stra\xDF\x65", "strasse 2"},
         0},
        {"signs, digits and blanks", {"10", "9", " 9", "_x", "(x)", "x.", "~", "X 1", "x1"}, 0},
        {"equal but for case", {"Matin", "soir", "MATIN", "Soir", "matin", "Midi"}, 5},
        {"the same text twice", {"Jazz", "Classique", "Jazz"}, 2},
        {"a long list of distinct texts", TrickyTexts(3000, true), 0},
        {"a long list with equal texts", TrickyTexts(3000, false), Neighbours},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<ListItem> items;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            items.push_back({c.texts[i], static_cast<LPARAM>(i + 1)});
        SortedBox box;
        const std::size_t boxPlaced = FillSortedListBox(box.list, items);
        const auto filled = box.Items();
        const auto expected = BoxOwnOrder(c.texts);
        EXPECT_EQ(boxPlaced, c.boxPlaced == Neighbours ? EqualToANeighbour(box.list, expected) : c.boxPlaced);
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
        // Into a box that holds items, the box places every new one.
        if (!items.empty())
        {
            EXPECT_EQ(FillSortedListBox(box.list, items), items.size());
            EXPECT_EQ(SendMessageA(box.list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(items.size() + 2));
        }
    }
}

TEST(ListBoxFill, AnAddedTextIsTiedWhenANeighbourComparesEqualToItAsTheBoxCompares)
{
    const struct
    {
        const char* text;
        bool tied;
    } cases[] = {{"matin", true},     {"Midi", false}, {"SOIR", true}, {"Ete", false},
                 {"\xE9T\xC9", true}, {"Zz", false},   {"", false}};
    SortedBox box;
    for (const char* text : {"Matin", "Soir", "\xC9t\xE9"})
        SendMessageA(box.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    LPARAM data = 100;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        bool tied = !c.tied;
        const LRESULT index = AddToSortedListBox(box.list, {c.text, ++data}, tied);
        ASSERT_GE(index, 0);
        EXPECT_EQ(tied, c.tied);
        EXPECT_EQ(SendMessageA(box.list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0), data);
        // Taken out again, so that each case meets the same neighbours.
        SendMessageA(box.list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
}
