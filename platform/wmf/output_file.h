// The file a writer or the metadata editor produces: written under a
// temporary name in the destination's own folder and renamed over the
// destination only once it is complete and on disk. The file at the
// destination is therefore always either the old one or the new one, never
// a part; a process killed midway leaves only the temporary file, whose
// name ("movie.wmv.unfinished-Ab12Cd") tells a user what it is.
//
// A destination that is a symbolic link is followed: the file it points to
// is replaced and the link is kept. A replaced file's mode carries over to
// the new one, and so does its owner where the process may set it; a
// destination the process may not write is refused, not replaced.
//
// Room in the file: the writer may open a gap at a point of what it has
// written (OpenGap); everything from that point on, written before or
// after, lands that many bytes further on, and the gap itself is filled
// with WriteRaw. The muxer never learns of it.
//
// Threads: one thread at a time (the writer serialises access under its
// file lock).
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/win/wintypes.h"

namespace wmf {

// The runtime's result for a failed file operation's errno.
HRESULT ResultFromErrno(int error);

// The path that writing to `path` replaces: `path` itself, or, through any
// chain of symbolic links, the file the last link names (which need not
// exist yet). Relative link contents are taken from the link's folder.
std::string ResolveLinkedTarget(const std::string& path);

// The temporary name for `target`, in its folder, with `tag` (six
// characters) at the end; the base name is cut (at a character boundary)
// so that the name stays within the file system's 255 bytes.
std::string UnfinishedName(const std::string& target, const std::string& tag);

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();  // discards a file that was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file beside the destination. An existing
    // destination must be a regular file (NS_E_FILE_WRITE otherwise: a
    // device, a pipe or a folder is not replaced) that the process may
    // write (E_ACCESSDENIED otherwise); its permissions carry over.
    // NS_E_FILE_NOT_FOUND for a missing folder, E_ACCESSDENIED for a
    // folder that cannot be written, NS_E_DISK_FULL.
    HRESULT Create(const std::string& destination);
    // Seekable output into the temporary file for libavformat; owned here,
    // valid from Create until Commit or Discard. Write failures set its
    // `error` (a negative AVERROR of the errno).
    AVIOContext* Io() const { return m_io; }
    // Writes out what is buffered, forces it to disk and renames the file
    // over the destination. On failure the temporary file is removed and
    // the destination left as it was.
    HRESULT Commit();
    // Removes the temporary file; the destination is untouched.
    void Discard();

    // Opens a gap of `bytes` at offset `at` of the file as the muxer sees
    // it; what was written past `at` moves on (it must be small: the
    // muxer's buffer must have been flushed, and only a header written).
    // Once only; E_UNEXPECTED when the file already has a gap.
    HRESULT OpenGap(uint64_t at, uint64_t bytes);
    // Reads and writes the file itself, gap included, past the muxer's
    // buffer: flush it first, and write nothing the muxer will overwrite.
    HRESULT ReadRaw(uint64_t offset, void* buf, size_t bytes) const;
    HRESULT WriteRaw(uint64_t offset, const void* buf, size_t bytes);

    const std::string& TemporaryPath() const { return m_tempPath; }

private:
    static int WritePacket(void* opaque, uint8_t* buf, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);
    void CloseIo();

    // Where a byte the muxer puts at `offset` lies in the file.
    uint64_t FileOffset(uint64_t offset) const {
        return offset < m_gapAt ? offset : offset + m_gapBytes;
    }

    int m_fd = -1;
    AVIOContext* m_io = nullptr;
    uint64_t m_position = 0;  // the muxer's
    uint64_t m_gapAt = UINT64_MAX;
    uint64_t m_gapBytes = 0;
    int m_lastErrno = 0;
    std::string m_target;
    std::string m_tempPath;
};

// Creates a new empty file named UnfinishedName(target, random tag) with
// mode 0666 less the umask, or, for a file that is to replace `replaced`,
// with that file's mode and (where the process may set it) its owner and
// group; returns its descriptor and name, or -1 with errno set.
int CreateUnfinishedFile(const std::string& target, const struct stat* replaced,
                         std::string* tempPath);

// 0 when the process may write the existing file `path`, else an errno
// (EACCES, EROFS, ...).
int WriteRefusal(const std::string& path);

}  // namespace wmf
