#include "Fixtures.h"

#include "Machine.h"

#include <windows.h>

#include <cstdio>

namespace e2e
{

namespace
{

constexpr std::size_t HeaderSize = 64;
constexpr std::size_t MediaRecordSize = 9264;
constexpr std::size_t FieldSize = 260;

void Put(std::string& bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& bytes, std::size_t at, const std::string& text)
{
    bytes.replace(at, text.size() < FieldSize ? text.size() : FieldSize, text.substr(0, FieldSize));
}

// The builder reads UTF-8; the scenarios' texts are in the interface's code page.
std::string Utf8(const std::string& text)
{
    if (text.empty())
        return text;
    const int wideSize = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideSize);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

} // namespace

std::string BuildMediaList(const std::string& name, const std::vector<MediaFixture>& entries)
{
    std::string source;
    for (const MediaFixture& entry : entries)
        source += Utf8(entry.title) + "\t" + Utf8(entry.pageUrl) + "\t" + Utf8(entry.streamUrl) + "\t" +
                  std::to_string(entry.kind) + "\r\n";
    const std::string sourcePath = WriteFixture(name + ".tsv", source);
    const std::string path = Paths().work + name;
    const DWORD code = RunTool(Paths().medialist, "build \"" + sourcePath + "\" \"" + path + "\"");
    if (code != 0 || !PathExists(path))
        throw BenchError("medialist could not build " + name + " (exit code " + std::to_string(code) + ")");
    return path;
}

std::string MediaListBytes(const std::vector<MediaFixture>& entries, std::uint32_t first,
                           std::uint32_t headerSize)
{
    std::string bytes(HeaderSize + entries.size() * MediaRecordSize, '\0');
    Put(bytes, 0, first, 4);
    Put(bytes, 4, headerSize, 4);
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        const std::size_t record = HeaderSize + i * MediaRecordSize;
        Put(bytes, record, entries[i].kind, 2);
        PutText(bytes, record + 2, entries[i].title);
        PutText(bytes, record + 262, "texte que le lecteur ne lit pas");
        PutText(bytes, record + 522, entries[i].streamUrl);
        PutText(bytes, record + 782, entries[i].pageUrl);
        // The tail of a record is not read: fill it so that a reader that strays into it shows.
        for (std::size_t at = record + 1042; at < record + MediaRecordSize; ++at)
            bytes[at] = 'x';
    }
    return bytes;
}

std::string RecordBytes(const RecordFixture& record)
{
    std::string bytes(RecordSize, '\0');
    PutText(bytes, 0, record.name);
    PutText(bytes, 260, record.media.title);
    PutText(bytes, 520, record.media.pageUrl);
    PutText(bytes, 780, record.media.streamUrl);
    for (std::size_t day = 0; day < record.days.size(); ++day)
        bytes[1040 + day] = static_cast<char>(record.days[day]);
    Put(bytes, 1048, static_cast<std::uint16_t>(record.hour), 2);
    Put(bytes, 1050, static_cast<std::uint16_t>(record.minute), 2);
    bytes[1052] = static_cast<char>(record.confirm);
    bytes[1053] = static_cast<char>(record.repeat);
    return bytes;
}

std::string RecordsBytes(const std::vector<RecordFixture>& records)
{
    std::string bytes;
    for (const RecordFixture& record : records)
        bytes += RecordBytes(record);
    return bytes;
}

std::string PlaylistText(const std::string& name, const std::string& title, const std::string& streamUrl,
                         const std::string& pageUrl)
{
    auto tabs = [](int count) { return std::string(static_cast<std::size_t>(count), '\t'); };
    const std::string end = "\r\n";
    return "<ASX version=\"3.0\">" + tabs(5) + end +                                  //
           "\t<TITLE>" + name + "</TITLE>" + tabs(6) + end +                          //
           "\t<ENTRY>" + tabs(9) + end +                                              //
           "\t<TITLE>" + title + "</TITLE>" + tabs(6) + end +                         //
           "\t<REF href=\"" + streamUrl + "\"/>" + tabs(6) + end +                    //
           "\t<PARAM name=\"HTMLView\" value=\"" + pageUrl + "\"/>" + tabs(1) + end + //
           "\t</ENTRY>" + tabs(8) + end +                                             //
           "\t</ASX>";
}

namespace texts
{

std::string LaunchQuestion(const std::string& name, const std::string& title)
{
    return "Souhaitez vous écouter [" + name + "] sur [" + title + "] ?";
}

std::string ClockCaption(int hour, int minute)
{
    char text[64];
    std::snprintf(text, sizeof text, "Il est %.2d h et %.2d min.", hour, minute);
    return text;
}

} // namespace texts

} // namespace e2e
