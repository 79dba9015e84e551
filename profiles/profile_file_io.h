// Whole-file reads and replacing writes for profile.cfg.
#pragma once

#include <cstddef>
#include <string>

// profile.cfg holds a few dozen short lines; anything this large is not one
// and is refused rather than read into memory.
constexpr size_t kMaxProfileFileBytes = 16u << 20;

enum class FileReadResult { Ok, CantOpen, TooLarge };
FileReadResult ReadWholeFile(const std::string& path, std::string& text);

// Writes `text` to a new file beside `path` and renames it over `path`, so
// that a crash or a full disk leaves either the old or the new file, never
// a truncated one. False, with `path` untouched, when any step fails.
bool ReplaceFileContents(const std::string& path, const std::string& text);
