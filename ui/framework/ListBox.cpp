#include "ui/framework/ListBox.h"

#include "base/Controls_win.h"
#include "base/Text.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace
{

// Adds the items one by one and lets the box place each.
void AddOneByOne(HWND list, const std::vector<ListItem>& items)
{
    for (const ListItem& item : items)
    {
        const LRESULT index = AddListText(list, item.text);
        if (index >= 0)
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), item.data);
    }
}

// How many items of each rank are in: counts of the ranks below any rank in logarithmic time (a Fenwick
// tree).
class RankCounts
{
public:
    explicit RankCounts(std::size_t ranks) : tree(ranks + 1) {}
    void Add(std::size_t rank)
    {
        for (std::size_t at = rank + 1; at < tree.size(); at += at & (~at + 1))
            ++tree[at];
    }
    // How many items are in with a rank below `rank`.
    std::size_t Below(std::size_t rank) const
    {
        std::size_t sum = 0;
        for (std::size_t at = rank; at > 0; at -= at & (~at + 1))
            sum += tree[at];
        return sum;
    }

private:
    std::vector<std::size_t> tree;
};

// Puts the items into the box; returns how many the box placed itself.
std::size_t PlaceItems(HWND list, const std::vector<ListItem>& items)
{
    const std::size_t count = items.size();
    // A box that already holds items places the new ones itself among them.
    if (count < 2 || SendMessageW(list, LB_GETCOUNT, 0, 0) != 0)
    {
        AddOneByOne(list, items);
        return count;
    }
    const LCID locale = static_cast<LCID>(SendMessageW(list, LB_GETLOCALE, 0, 0));

    // The texts as the box holds them (UTF-16, from code page 1252), each followed by a zero, in one block: a
    // single large allocation goes back to the system when it is freed. Each byte is one UTF-16 unit.
    std::size_t total = 0;
    for (const ListItem& item : items)
        total += item.text.size() + 1;
    SendMessageW(list, LB_INITSTORAGE, count, total * sizeof(wchar_t));
    std::vector<wchar_t> wide(total);
    std::vector<std::size_t> wideAt(count);
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::wstring text = TextToWide(items[i].text);
        wideAt[i] = at;
        std::copy(text.begin(), text.end(), wide.begin() + static_cast<std::ptrdiff_t>(at));
        at += text.size();
        wide[at++] = 0;
    }

    // The sort keys, in one block too. Comparing two keys byte by byte gives what comparing the texts in the
    // same locale with the same flags gives. A key is made into a buffer that holds most keys, and asked for
    // its size only when it does not fit.
    std::vector<char> keys;
    keys.reserve(total * 4);
    std::vector<std::size_t> keyAt(count + 1);
    constexpr DWORD KeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
    alignas(wchar_t) char scratch[4096];
    for (std::size_t i = 0; i < count; ++i)
    {
        keyAt[i] = keys.size();
        const wchar_t* text = wide.data() + wideAt[i];
        int size =
            LCMapStringW(locale, KeyFlags, text, -1, reinterpret_cast<wchar_t*>(scratch), sizeof scratch);
        if (size > 0)
        {
            keys.insert(keys.end(), scratch, scratch + size);
            continue;
        }
        size = LCMapStringW(locale, KeyFlags, text, -1, nullptr, 0);
        if (size <= 0)
        {
            // No key for this text: the box places every item itself.
            AddOneByOne(list, items);
            return count;
        }
        keys.resize(keys.size() + static_cast<std::size_t>(size));
        LCMapStringW(locale, KeyFlags, text, -1, reinterpret_cast<wchar_t*>(keys.data() + keyAt[i]), size);
    }
    keyAt[count] = keys.size();
    auto key = [&](std::size_t i) {
        return std::string_view(keys.data() + keyAt[i], keyAt[i + 1] - keyAt[i]);
    };

    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });

    // Each item's rank among the distinct keys, and how many items share each rank.
    std::vector<std::size_t> rank(count);
    std::vector<std::size_t> sharing;
    for (std::size_t k = 0; k < count; ++k)
    {
        if (k == 0 || key(order[k]) != key(order[k - 1]))
            sharing.push_back(0);
        ++sharing.back();
        rank[order[k]] = sharing.size() - 1;
    }
    auto tied = [&](std::size_t i) { return sharing[rank[i]] > 1; };
    const std::size_t boxPlaced = static_cast<std::size_t>(
        std::count_if(order.begin(), order.end(), [&](std::size_t i) { return tied(i); }));

    if (boxPlaced == 0)
    {
        // Inserting at the end does not sort: each item goes where the order above puts it.
        for (const std::size_t i : order)
        {
            const LRESULT index = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(wide.data() + wideAt[i]));
            if (index >= 0)
                SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), items[i].data);
        }
        return 0;
    }

    // Texts that compare equal stand where the history of the box's insertions put them: the items go in one
    // by one in their own order, as the box would take them. An item whose key no other item has has one
    // place only, after the items already in with a smaller key, and goes straight there; the box places the
    // others itself among what is already in, which is what it would have held at that point.
    RankCounts inserted(sharing.size());
    for (std::size_t i = 0; i < count; ++i)
    {
        const LPARAM text = reinterpret_cast<LPARAM>(wide.data() + wideAt[i]);
        const LRESULT index =
            tied(i) ? SendMessageW(list, LB_ADDSTRING, 0, text)
                    : SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(inserted.Below(rank[i])), text);
        if (index >= 0)
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), items[i].data);
        inserted.Add(rank[i]);
    }
    return boxPlaced;
}

} // namespace

std::size_t FillSortedListBox(HWND list, const std::vector<ListItem>& items)
{
    // No painting while thousands of texts go in one by one: a box on the screen would redraw itself and its
    // scroll bar at every one.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const std::size_t boxPlaced = PlaceItems(list, items);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return boxPlaced;
}

LRESULT AddToSortedListBox(HWND list, const ListItem& item, bool& tied)
{
    tied = false;
    const LRESULT index = AddListText(list, item.text);
    if (index < 0)
        return index;
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), item.data);
    // The box's comparison: its locale, case ignored.
    const LCID locale = static_cast<LCID>(SendMessageW(list, LB_GETLOCALE, 0, 0));
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    auto textAt = [list](LRESULT at) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(at), 0);
        std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(wide.data()));
        return wide;
    };
    const std::vector<wchar_t> added = textAt(index);
    for (const LRESULT neighbour : {index - 1, index + 1})
        if (neighbour >= 0 && neighbour < count &&
            CompareStringW(locale, NORM_IGNORECASE, added.data(), -1, textAt(neighbour).data(), -1) ==
                CSTR_EQUAL)
            tied = true;
    return index;
}

void EmptyListBox(HWND list)
{
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item)
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(item), 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
}
