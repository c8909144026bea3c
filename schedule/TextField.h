#pragma once

#include "schedule/ProgramRecord.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <cstring>
#include <string_view>

// The text of a fixed field, never read past it: a field without a zero byte (a damaged file) reads as its
// first 259 characters, wherever it is shown or compared. The field's bytes themselves are kept as they are.
inline std::string_view FieldText(const char (&field)[TextFieldSize])
{
    const void* zero = std::memchr(field, 0, TextFieldSize - 1);
    std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : TextFieldSize - 1;
    return {field, length};
}

// Clears the field and copies at most 259 characters of text into it.
inline void SetFieldText(char (&field)[TextFieldSize], std::string_view text)
{
    std::memset(field, 0, TextFieldSize);
    std::memcpy(field, text.data(), std::min(text.size(), TextFieldSize - 1));
}

// A number in decimal, zero-padded to at least `minimumDigits` digits after any minus sign, as printf's
// "%.2d" writes it (without printf's formatting engine, which is a large part of a static executable).
inline std::string DecimalText(int value, std::size_t minimumDigits = 1)
{
    char digits[16];
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    std::string text(digits, std::to_chars(digits, digits + sizeof digits, magnitude).ptr);
    if (text.size() < minimumDigits)
        text.insert(0, minimumDigits - text.size(), '0');
    return value < 0 ? "-" + text : text;
}
