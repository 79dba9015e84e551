// Whole-file reads and replacing writes for profile.cfg.
#pragma once

#include <cstddef>
#include <string>

// profile.cfg holds a few dozen short lines; anything this large is not one
// and is refused rather than read into memory.
constexpr size_t kMaxProfileFileBytes = 16u << 20;

// NotAFile: a folder, a pipe, a device or a socket, refused without
// waiting for a writer at the other end or reading an endless stream.
enum class FileReadResult { Ok, CantOpen, TooLarge, NotAFile };
FileReadResult ReadWholeFile(const std::string& path, std::string& text);

// The words for a file that is not a regular file: "PATH is not a regular
// file (a folder, a pipe or a device)".
std::string NotAFileText(const std::string& path);

// Writes `text` to a new file beside `path` and renames it over `path`, so
// that a crash or a full disk leaves either the old or the new file, never
// a truncated one. False, with `path` untouched, when any step fails.
bool ReplaceFileContents(const std::string& path, const std::string& text);
