// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX file services of the level file's progress update: reading it whole
// and replacing it safely.
#pragma once
#include <string>

enum class FileRead { Ok, Missing, Failed };

// Reads the whole file into `contents`. On Missing or Failed, errno says why.
FileRead ReadWholeFile(const std::string& path, std::string& contents);

// Gives the file at `path` the new contents, if possible without ever leaving
// it half written: the data goes to a temporary file of a fresh name beside
// the real one, is flushed and renamed over it, keeping the mode. A file with
// other hard links, or in a folder that takes no new file, is rewritten in
// place instead. A symbolic link is kept and its final target changed. A file
// that cannot be opened for writing is left as it is. True when the new
// contents are in place; when false, errno says why.
bool ReplaceFileContents(const std::string& path, const std::string& contents);
