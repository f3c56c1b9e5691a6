// POSIX file services of the level file's progress update: finding the file as
// the runtime does, reading it whole and replacing it atomically.
#pragma once
#include <string>

// `path` with "\" turned into "/" and, where a component does not exist as
// spelled, the first entry of its directory that matches it ignoring case.
// Components that match nothing are kept as spelled.
std::string FindFileIgnoringCase(const std::string& path);

enum class FileRead { Ok, Missing, Failed };

// Reads the whole file into `contents`.
FileRead ReadWholeFile(const std::string& path, std::string& contents);

// Gives the file at `path` the new contents without ever leaving it half
// written: the data goes to a temporary file beside the real one, is flushed
// to disk and renamed over it. A symbolic link is kept and its final target
// replaced. An existing file that cannot be opened for writing is left as it
// is. True when the new contents are in place.
bool ReplaceFileContents(const std::string& path, const std::string& contents);
