#include "base/Controls_win.h"

#include "base/Text.h"

#include <algorithm>
#include <vector>

void SetItemText(HWND dialog, int id, std::string_view text)
{
    SetDlgItemTextW(dialog, id, TextToWide(text).c_str());
}

void SetItemPath(HWND dialog, int id, std::string_view path)
{
    SetDlgItemTextW(dialog, id, PathToWide(path).c_str());
}

std::string ReadItemText(HWND dialog, int id, std::size_t limit)
{
    std::vector<wchar_t> text(limit, L'\0');
    const UINT length = GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(limit));
    return TextFromWide(std::wstring_view(text.data(), std::min<std::size_t>(length, limit - 1)));
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style)
{
    return MessageBoxW(owner, TextToWide(text).c_str(), TextToWide(caption).c_str(), style);
}

LRESULT AddListText(HWND list, std::string_view text)
{
    return SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TextToWide(text).c_str()));
}

LRESULT InsertListText(HWND list, WPARAM at, std::string_view text)
{
    return SendMessageW(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(TextToWide(text).c_str()));
}

void CopyTextToField(std::string_view text, wchar_t* field, std::size_t size)
{
    const std::wstring wide = TextToWide(text.substr(0, std::min(text.size(), size - 1)));
    std::fill(field, field + size, L'\0');
    std::copy(wide.begin(), wide.end(), field);
}
