#include "schedule/DataFolder.h"

DataFolderPaths BuildDataFolderPaths(std::string_view appData)
{
    DataFolderPaths paths;
    if (appData.empty())
        return paths;
    std::string base(appData);
    if (base.back() != '\\')
        base += '\\';
    paths.makerFolder = base + "Merovia\\";
    paths.dataFolder = paths.makerFolder + "Chronel\\";
    return paths;
}
