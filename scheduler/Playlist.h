#pragma once

#include "schedule/ProgramRecord.h"

#include <string>

// What a launch says and writes: the question before it, the playlist and the player's parameters.

// "Souhaitez vous écouter [name] sur [media title] ?", as long as the two texts make it.
std::string ConfirmationQuestion(const ProgramRecord& record);

// The one-entry ASX 3.0 playlist, byte for byte as it goes to disk: CR LF line ends, no byte-order mark, no
// XML declaration. Each value is XML-escaped, so a text holding & < > or " still gives a well-formed
// playlist; a text without them is written as it is.
std::string PlaylistText(const ProgramRecord& record);

// The playlist's place: the data folder (a UTF-8 path that ends in a backslash) followed by "media.asx".
std::string PlaylistPath(const std::string& dataFolder);

// A space and the playlist path in double quotes.
std::string PlayerParameters(const std::string& playlistPath);

// Writes the text in binary mode to `path` (UTF-8), replacing an earlier playlist; false when the file cannot
// be written.
bool WritePlaylistFile(const std::string& path, const std::string& text);
