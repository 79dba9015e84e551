#include "job/job_paths.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// The canonical form of a path that may not exist yet: its folder made
// canonical, its name kept.
std::string CanonicalTarget(const std::string& path) {
    char buf[PATH_MAX];
    if (realpath(path.c_str(), buf)) return buf;
    const auto slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (realpath(dir.empty() ? "/" : dir.c_str(), buf)) return std::string(buf) + "/" + name;
    return path;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

JobPathProblem CheckJobSource(const std::string& source) {
    if (source.size() > kMaxPathBytes) return JobPathProblem::SourceTooLong;
    struct stat st {};
    if (stat(source.c_str(), &st) != 0) return JobPathProblem::SourceMissing;
    if (S_ISDIR(st.st_mode)) return JobPathProblem::SourceIsFolder;
    if (!S_ISREG(st.st_mode)) return JobPathProblem::SourceNotAFile;
    if (faccessat(AT_FDCWD, source.c_str(), R_OK, AT_EACCESS) != 0)
        return JobPathProblem::SourceUnreadable;
    return JobPathProblem::None;
}

JobPathProblem CheckJobPaths(const std::string& source, const std::string& destination) {
    if (const JobPathProblem problem = CheckJobSource(source); problem != JobPathProblem::None)
        return problem;
    if (destination.size() > kMaxPathBytes) return JobPathProblem::DestinationTooLong;
    struct stat src {};
    struct stat dst {};
    const bool sourceExists = stat(source.c_str(), &src) == 0;
    if (stat(destination.c_str(), &dst) == 0) {
        // One file under two names (a hard link, a bind mount, another
        // spelling): converting would overwrite the movie being read.
        if (sourceExists && src.st_dev == dst.st_dev && src.st_ino == dst.st_ino)
            return JobPathProblem::DestinationIsSource;
        if (!S_ISREG(dst.st_mode)) return JobPathProblem::DestinationNotAFile;
        // As the file system decides for this process: mode, ACLs, a
        // read-only mount, and root's right to write anyway.
        if (faccessat(AT_FDCWD, destination.c_str(), W_OK, AT_EACCESS) != 0)
            return JobPathProblem::DestinationProtected;
    }
    if (CanonicalTarget(source) == CanonicalTarget(destination))
        return JobPathProblem::DestinationIsSource;
    // Found now rather than as a failure to create the file once the job
    // has begun.
    const std::string folder = FolderOf(destination);
    struct stat dir {};
    if (stat(folder.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode))
        return JobPathProblem::DestinationFolderMissing;
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return JobPathProblem::DestinationFolderProtected;
    return JobPathProblem::None;
}

std::string JobPathMessage(JobPathProblem problem, const std::string& source) {
    const std::string limit = std::to_string(kMaxPathBytes);
    const std::string theSource = source.empty() ? "the source" : "the source '" + source + "'";
    switch (problem) {
        case JobPathProblem::None:
            return {};
        case JobPathProblem::SourceTooLong:
            return "the source path is longer than " + limit + " bytes; move or rename the file";
        case JobPathProblem::DestinationTooLong:
            return "the destination path is longer than " + limit + " bytes; choose a shorter one";
        case JobPathProblem::DestinationIsSource:
            return "the destination is the source; choose another file";
        case JobPathProblem::DestinationNotAFile:
            return "the destination is not a regular file (a folder, pipe or device); choose a "
                   "file";
        case JobPathProblem::DestinationProtected:
            return "the destination is write-protected: you may not change that file; choose "
                   "another one";
        case JobPathProblem::SourceMissing:
            return theSource + " does not exist";
        case JobPathProblem::SourceIsFolder:
            return theSource + " is a folder, not a movie file";
        case JobPathProblem::SourceNotAFile:
            return theSource + " is a pipe or a device, not a movie file";
        case JobPathProblem::SourceUnreadable:
            return theSource + " cannot be read: you have no permission to read it";
        case JobPathProblem::DestinationFolderMissing:
            return "the destination's folder does not exist; choose another one";
        case JobPathProblem::DestinationFolderProtected:
            return "the destination's folder is read-only: you may not create files in it; "
                   "choose another one";
    }
    return {};
}
