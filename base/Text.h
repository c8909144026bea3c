#pragma once

#include <string>
#include <string_view>

// The two forms in which the program keeps what it hands to Windows, and their conversions to and from the
// UTF-16 that Windows' wide functions take. Windows itself is asked nothing here: the rules are the
// program's own, and the same on every system whatever its ANSI code page.
//
// - A text (a caption, a message, a programme name, a media title) is code page 1252 bytes, as the files and
//   the sources hold it.
// - A path (a folder, a file, a command line that holds one) is UTF-8, so that any name Windows allows
//   (a user "Łukasz", a folder "Иван") is kept whole.
//
// A wide string holds UTF-16 code units whatever the width of wchar_t.

// Every byte has its character: the 251 that code page 1252 defines, and the five it leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) as the control characters of the same value, as Windows converts them, so that any
// byte comes back as it went.
std::wstring TextToWide(std::string_view text);

// One byte for each UTF-16 unit: its code page 1252 byte, else the byte Windows' best-fit conversion to code
// page 1252 gives ("Ł" becomes "L", "ź" "z", a fullwidth "Ａ" "A"), else "?" (Cyrillic, Chinese, each half of
// a character beyond the first 65536).
std::string TextFromWide(std::wstring_view text);
char TextByteFor(wchar_t unit);

// UTF-8 to UTF-16 and back. A byte that starts no valid sequence becomes U+FFFD. A UTF-16 unit that pairs
// with no other (Windows allows one in a file name) is written as its own three-byte sequence and read back
// as itself, so that every name Windows gives comes back unchanged.
std::wstring PathToWide(std::string_view path);
std::string PathFromWide(std::wstring_view path);

// How many UTF-16 units the path takes: the measure of Windows' limits (MAX_PATH counts units, not bytes).
std::size_t WideLength(std::string_view path);
