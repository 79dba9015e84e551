// The file the destination dialog proposes for a job: named after the
// source, with the output's extension, in the folder the user last chose a
// destination in (or beside the source), and never a name that is taken.
// Plain logic over a question about the disk, so tests need no display.
#pragma once

#include <functional>
#include <string>

// `exists(path)`: whether anything is at `path`.
using PathExists = std::function<bool(const std::string& path)>;

// For `source`, "<name without extension>.wmv" in `lastFolder` when that is
// set and exists, else in the source's folder; while that name is taken (or
// is the source itself), "<name> (2).wmv", "<name> (3).wmv" and so on.
// Without a source: `lastFolder` as it is (empty when unset), for the
// dialog to open in.
std::string ProposeDestination(const std::string& source, const std::string& lastFolder,
                               const PathExists& exists);

// The same against the file system.
std::string ProposeDestination(const std::string& source, const std::string& lastFolder);

// The folder of a chosen destination, as it is remembered for the next one.
std::string FolderOf(const std::string& path);
