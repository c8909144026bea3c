#include "scheduler/Playlist.h"

#include "base/FileSystem.h"
#include "schedule/DataFolder.h"
#include "schedule/TextField.h"
#include "base/UniqueHandle.h"

#include <string_view>

namespace
{

// The playlist's line end on disk on every platform, as a Windows text-mode write would store it.
constexpr const char* const LineEnd = "\r\n";

void AppendEscaped(std::string& out, std::string_view text)
{
    for (char c : text)
    {
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
}

} // namespace

std::string ConfirmationQuestion(const ProgramRecord& record)
{
    std::string question = "Souhaitez vous écouter [";
    question += FieldText(record.name);
    question += "] sur [";
    question += FieldText(record.media.title);
    question += "] ?";
    return question;
}

std::string PlaylistText(const ProgramRecord& record)
{
    std::string text;
    text.reserve(256);
    text += "<ASX version=\"3.0\">\t\t\t\t\t";
    text += LineEnd;
    text += "\t<TITLE>";
    AppendEscaped(text, FieldText(record.name));
    text += "</TITLE>\t\t\t\t\t\t";
    text += LineEnd;
    text += "\t<ENTRY>\t\t\t\t\t\t\t\t\t";
    text += LineEnd;
    text += "\t<TITLE>";
    AppendEscaped(text, FieldText(record.media.title));
    text += "</TITLE>\t\t\t\t\t\t";
    text += LineEnd;
    text += "\t<REF href=\"";
    AppendEscaped(text, FieldText(record.media.streamUrl));
    text += "\"/>\t\t\t\t\t\t";
    text += LineEnd;
    text += "\t<PARAM name=\"HTMLView\" value=\"";
    AppendEscaped(text, FieldText(record.media.pageUrl));
    text += "\"/>\t";
    text += LineEnd;
    text += "\t</ENTRY>\t\t\t\t\t\t\t\t";
    text += LineEnd;
    text += "\t</ASX>";
    return text;
}

std::string PlaylistPath(const std::string& dataFolder)
{
    return dataFolder + PlaylistFileName;
}

std::string PlayerParameters(const std::string& playlistPath)
{
    return " \"" + playlistPath + "\"";
}

bool WritePlaylistFile(const std::string& path, const std::string& text)
{
    // Binary mode: the text already holds its CR LF line ends, and must not get a second CR anywhere.
    UniqueFile file(OpenFile(path, "wb"));
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.Get()) == text.size();
    return std::fclose(file.Release()) == 0 && written;
}
