#pragma once

#include <string>
#include <string_view>

namespace qx::platform {

// The process's current working directory; "." if it cannot be determined.
std::string CurrentWorkingDirectory();

// True when a file or folder of that name exists.
bool PathExists(const std::string& path);

// The folder part of a path: everything before the last '/', or "" when there is none.
std::string FolderOf(std::string_view path);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

// Writes a file so that a crash or failure part-way never destroys the previous contents:
// temporary file in the same folder, write all, fsync, rename over the target, fsync the
// folder. On failure the previous file is untouched and `error` (if given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

}  // namespace qx::platform
