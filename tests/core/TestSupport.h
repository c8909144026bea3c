#pragma once

#include "schedule/ProgramList.h"
#include "schedule/TextField.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
class TempFolder
{
public:
    TempFolder()
    {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("chronel-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
                std::to_string(++counter));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    // A path below the folder as the program keeps paths: UTF-8, whatever the system's code page.
    std::string Utf8File(const std::string& name) const
    {
        return (path / std::filesystem::u8path(name)).u8string();
    }
    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

using Bytes = std::vector<unsigned char>;

inline Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Little-endian writers for building file images byte by byte, independently of the code under test.
inline void PutU16(Bytes& bytes, std::size_t offset, unsigned value)
{
    bytes[offset] = static_cast<unsigned char>(value & 0xFF);
    bytes[offset + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

inline void PutU32(Bytes& bytes, std::size_t offset, unsigned long value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

inline void PutText(Bytes& bytes, std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[offset + i] = static_cast<unsigned char>(text[i]);
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The names of the programmes in list order.
inline std::vector<std::string> Names(const ProgramList& programs)
{
    std::vector<std::string> names;
    for (const ProgramRecord& record : programs.Records())
        names.emplace_back(FieldText(record.name));
    return names;
}
