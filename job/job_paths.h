// The checks of a job's two paths that the caller makes before it binds a
// converter, shared by zev and zev-convert: both paths must fit what the
// 1024-byte Convert buffers carry, the source must be a regular file that
// the user may read (a pipe or a device would hold the reader up), the
// destination must not be the source (by file identity, whatever the
// spelling, hard links and bind mounts included), an existing destination
// must be a regular file (a folder, a pipe or a device is never replaced)
// that the user may write: a write-protected file is not replaced because
// its folder allows it; and the destination's folder must exist and take
// new files, since the file is written beside the destination and then
// renamed. A symbolic link counts as the file it names.
//
// Threads: any; reads the file system only.
#pragma once

#include <string>

#include "convert/common/convert_api.h"

enum class JobPathProblem {
    None,
    SourceTooLong,
    DestinationTooLong,
    DestinationIsSource,
    DestinationNotAFile,
    DestinationProtected,
    SourceMissing,
    SourceIsFolder,
    SourceNotAFile,    // a pipe, a device or a socket
    SourceUnreadable,  // the user may not read it
    DestinationFolderMissing,
    DestinationFolderProtected,  // the user may not create files in it
};

JobPathProblem CheckJobPaths(const std::string& source, const std::string& destination);
// The source's part of CheckJobPaths: its length, and that it is a regular
// file the user may read. No destination can do for a source it refuses.
JobPathProblem CheckJobSource(const std::string& source);

// One sentence for the user about `problem` (empty for None): lower case,
// no full stop. The source's problems name `source` when it is given.
std::string JobPathMessage(JobPathProblem problem, const std::string& source = {});
