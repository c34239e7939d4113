#pragma once
#include <string>

// The folder that every data path (archives and loose files) is relative
// to: the folder of the program, never the current directory, so that a
// screen saver or a shortcut started elsewhere still finds its data. On
// Windows it starts as the folder of the running program; elsewhere it
// starts empty and tests set it.
void SetDataFolder(const std::string& folder);
const std::string& GetDataFolder();
// The folder part of a program's path ("C:\\x\\deskmate.exe" gives "C:\\x").
std::string FolderOfPath(const std::string& path);
// The data folder joined with a relative path; an empty folder leaves it as it is.
std::string DataFilePath(const std::string& relative);
