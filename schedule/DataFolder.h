#pragma once

#include <string>
#include <string_view>

// Names inside the per-user data folder.
inline constexpr const char* ProgramFileName = "programs.chronel";
inline constexpr const char* PlaylistFileName = "media.asx";

// The two folders to create, in order, and the data folder itself (the second one), each ending in a
// backslash. Built from the user's application-data folder, which may or may not end in a backslash.
struct DataFolderPaths
{
    std::string makerFolder; // ...\Merovia\  (created first)
    std::string dataFolder;  // ...\Merovia\Chronel\  (created second)
};

// Empty paths when `appData` is empty: a failed lookup must never lead to folders at a drive root.
DataFolderPaths BuildDataFolderPaths(std::string_view appData);
