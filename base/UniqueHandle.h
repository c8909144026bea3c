#pragma once

#include <cstdio>
#include <utility>

// A move-only owner of one handle, closed by Traits::Close when it goes out of scope.
// Traits provides `Type`, `Invalid()` and `Close(Type)`.
template <typename Traits> class UniqueHandle
{
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const { return handle; }
    explicit operator bool() const { return handle != Traits::Invalid(); }

    Type Release()
    {
        Type old = handle;
        handle = Traits::Invalid();
        return old;
    }

    void Reset(Type replacement = Traits::Invalid())
    {
        if (handle != Traits::Invalid())
            Traits::Close(handle);
        handle = replacement;
    }

private:
    Type handle = Traits::Invalid();
};

struct FileTraits
{
    using Type = std::FILE*;
    static Type Invalid() { return nullptr; }
    static void Close(Type f) { std::fclose(f); }
};

using UniqueFile = UniqueHandle<FileTraits>;
