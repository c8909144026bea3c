#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

// Owners of every system handle the program keeps beyond one call, each closed by its own function. Nothing
// else in the program closes a handle.

struct RegKeyTraits
{
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type key) { RegCloseKey(key); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

// A kernel object that the system answers with null for "none": a mutex, a process, a thread, an event.
struct KernelHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A file, device or pipe opened by CreateFile, which answers INVALID_HANDLE_VALUE for "none".
struct FileHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

struct MenuTraits
{
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type menu) { DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

struct FontTraits
{
    using Type = HFONT;
    static Type Invalid() { return nullptr; }
    static void Close(Type font) { DeleteObject(font); }
};
using UniqueFont = UniqueHandle<FontTraits>;
