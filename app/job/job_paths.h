// The checks of a job's two paths that the caller makes before it binds a
// converter, shared by zev and zev-convert: both paths must fit what the
// 1024-byte Convert buffers carry, the destination must not be the source
// (by file identity, whatever the spelling, hard links and bind mounts
// included), and an existing destination must be a regular file (a folder,
// a pipe or a device is never replaced) that the user may write: a
// write-protected file is not replaced because its folder allows it. A
// symbolic link counts as the file it names.
//
// Threads: any; reads the file system only.
#pragma once

#include <string>

// Bytes of a path that Convert takes, without the terminating NUL.
inline constexpr size_t kMaxJobPathBytes = 1023;

enum class JobPathProblem {
    None,
    SourceTooLong,
    DestinationTooLong,
    DestinationIsSource,
    DestinationNotAFile,
    DestinationProtected,
};

JobPathProblem CheckJobPaths(const std::string& source, const std::string& destination);

// One sentence for the user about `problem` (empty for None).
std::string JobPathMessage(JobPathProblem problem);
