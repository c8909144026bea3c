#pragma once

#include "schedule/UniqueHandle.h"

#include <windows.h>

// Owners of the system handles the program keeps beyond one call.

struct RegKeyTraits
{
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type key) { RegCloseKey(key); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

// A kernel object: a mutex, a process, an event. Null is "none" (the functions that answer
// INVALID_HANDLE_VALUE instead are not kept in one).
struct KernelHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
