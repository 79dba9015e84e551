#include "platform/wmf/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/wmf/wmsdk.h"

namespace wmf {
namespace {

constexpr char kUnfinishedMark[] = ".unfinished-";
constexpr size_t kTagChars = 6;
constexpr size_t kMaxNameBytes = 255;
constexpr int kMaxLinkHops = 40;
constexpr int kCreateAttempts = 100;
// Large enough that the muxer's packets go out in few system calls.
constexpr int kIoBufferBytes = 256 * 1024;
constexpr unsigned kDefaultMode = 0666;
// What OpenGap moves: the data object's head after the header, at most.
constexpr uint64_t kMaxMovedBytes = 64 * 1024;

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string RandomTag() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<size_t> any(0, sizeof kChars - 2);
    std::string tag;
    for (size_t i = 0; i < kTagChars; ++i) tag += kChars[any(pick)];
    return tag;
}

// The folder of a file that is already written must reach the disk too,
// or a crash could forget the rename.
void SyncFolder(const std::string& file) {
    const int dir = open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    fsync(dir);
    close(dir);
}

}  // namespace

HRESULT ResultFromErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return NS_E_DISK_FULL;
        case ENOENT:
        case ENOTDIR:
            return NS_E_FILE_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return E_ACCESSDENIED;
        case ENOMEM:
            return E_OUTOFMEMORY;
        default:
            return NS_E_FILE_WRITE;
    }
}

std::string ResolveLinkedTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return current;
        link.resize(static_cast<size_t>(n));
        if (link[0] == '/' || current.find('/') == std::string::npos)
            current = link;
        else
            current = FolderOf(current) + "/" + link;
    }
    return current;  // a loop: creating the file will fail on it
}

std::string UnfinishedName(const std::string& target, const std::string& tag) {
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const size_t room = kMaxNameBytes - (sizeof kUnfinishedMark - 1) - tag.size();
    if (name.size() > room) {
        size_t cut = room;
        // Never split a UTF-8 sequence: back up over continuation bytes.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return folder + name + kUnfinishedMark + tag;
}

int WriteRefusal(const std::string& path) {
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

int CreateUnfinishedFile(const std::string& target, const struct stat* replaced,
                         std::string* tempPath) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::string name = UnfinishedName(target, RandomTag());
        const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kDefaultMode);
        if (fd >= 0) {
            if (replaced) {
                // Owner first: changing it may clear the set-id bits that
                // the mode then puts back. Only a privileged process may give
                // a file away; a member of the group may still set that.
                if (fchown(fd, replaced->st_uid, replaced->st_gid) != 0)
                    (void)!fchown(fd, static_cast<uid_t>(-1), replaced->st_gid);
                fchmod(fd, replaced->st_mode & 07777);
            }
            *tempPath = name;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

OutputFile::~OutputFile() {
    Discard();
}

HRESULT OutputFile::Create(const std::string& destination) {
    Discard();
    m_target = ResolveLinkedTarget(destination);
    struct stat st {};
    const struct stat* replaced = nullptr;
    if (stat(m_target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return NS_E_FILE_WRITE;
        // The folder's permission would allow the rename; the file's own
        // says whether it may be replaced.
        if (const int refusal = WriteRefusal(m_target)) return ResultFromErrno(refusal);
        replaced = &st;
    } else if (errno != ENOENT) {
        return ResultFromErrno(errno);
    }
    m_fd = CreateUnfinishedFile(m_target, replaced, &m_tempPath);
    if (m_fd < 0) return ResultFromErrno(errno);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (buffer)
        m_io = avio_alloc_context(buffer, kIoBufferBytes, 1, this, nullptr, &WritePacket, &Seek);
    if (!m_io) {
        av_free(buffer);
        Discard();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

int OutputFile::WritePacket(void* opaque, uint8_t* buf, int size) {
    auto* self = static_cast<OutputFile*>(opaque);
    size_t left = static_cast<size_t>(size);
    while (left > 0) {
        // A write never spans the gap: its two sides lie apart in the file.
        size_t piece = left;
        if (self->m_position < self->m_gapAt)
            piece = static_cast<size_t>(std::min<uint64_t>(left, self->m_gapAt - self->m_position));
        const HRESULT hr = self->WriteRaw(self->FileOffset(self->m_position), buf, piece);
        if (FAILED(hr)) return AVERROR(self->m_lastErrno);
        buf += piece;
        left -= piece;
        self->m_position += piece;
    }
    return size;
}

int64_t OutputFile::Seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<OutputFile*>(opaque);
    whence &= ~AVSEEK_FORCE;
    struct stat st {};
    if (whence == AVSEEK_SIZE || whence == SEEK_END) {
        if (fstat(self->m_fd, &st) != 0) return AVERROR(errno);
        // The size as the muxer sees it: without the gap.
        if (static_cast<uint64_t>(st.st_size) > self->m_gapAt)
            st.st_size -= static_cast<off_t>(self->m_gapBytes);
        if (whence == AVSEEK_SIZE) return st.st_size;
    }
    int64_t at = offset;
    if (whence == SEEK_CUR) at += static_cast<int64_t>(self->m_position);
    if (whence == SEEK_END) at += st.st_size;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return AVERROR(EINVAL);
    if (at < 0) return AVERROR(EINVAL);
    self->m_position = static_cast<uint64_t>(at);
    return at;
}

HRESULT OutputFile::ReadRaw(uint64_t offset, void* buf, size_t bytes) const {
    auto* p = static_cast<uint8_t*>(buf);
    while (bytes > 0) {
        const ssize_t n = pread(m_fd, p, bytes, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? ResultFromErrno(errno) : NS_E_FILE_WRITE;
        p += n;
        bytes -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return S_OK;
}

HRESULT OutputFile::WriteRaw(uint64_t offset, const void* buf, size_t bytes) {
    const auto* p = static_cast<const uint8_t*>(buf);
    while (bytes > 0) {
        const ssize_t n = pwrite(m_fd, p, bytes, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_lastErrno = n < 0 ? errno : ENOSPC;
            return ResultFromErrno(m_lastErrno);
        }
        p += n;
        bytes -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return S_OK;
}

HRESULT OutputFile::OpenGap(uint64_t at, uint64_t bytes) {
    if (m_fd < 0) return NS_E_INVALID_REQUEST;
    if (m_gapBytes != 0) return E_UNEXPECTED;
    struct stat st {};
    if (fstat(m_fd, &st) != 0) return ResultFromErrno(errno);
    const auto size = static_cast<uint64_t>(st.st_size);
    if (at > size || size - at > kMaxMovedBytes) return E_UNEXPECTED;
    std::vector<uint8_t> moved(static_cast<size_t>(size - at));
    HRESULT hr = ReadRaw(at, moved.data(), moved.size());
    if (SUCCEEDED(hr)) hr = WriteRaw(at + bytes, moved.data(), moved.size());
    if (FAILED(hr)) return hr;
    m_gapAt = at;
    m_gapBytes = bytes;
    return S_OK;
}

void OutputFile::CloseIo() {
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
    m_position = 0;
    m_gapAt = UINT64_MAX;
    m_gapBytes = 0;
}

HRESULT OutputFile::Commit() {
    if (!m_io) return NS_E_INVALID_REQUEST;
    avio_flush(m_io);
    HRESULT hr = S_OK;
    if (m_io->error < 0)
        hr = ResultFromErrno(m_lastErrno ? m_lastErrno : AVUNERROR(m_io->error));
    else if (fsync(m_fd) != 0)
        hr = ResultFromErrno(errno);
    av_freep(&m_io->buffer);
    avio_context_free(&m_io);
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0 && SUCCEEDED(hr)) hr = ResultFromErrno(errno);
    if (SUCCEEDED(hr) && rename(m_tempPath.c_str(), m_target.c_str()) != 0)
        hr = ResultFromErrno(errno);
    if (FAILED(hr)) {
        Discard();
        return hr;
    }
    SyncFolder(m_target);
    m_tempPath.clear();
    return S_OK;
}

void OutputFile::Discard() {
    CloseIo();
    if (!m_tempPath.empty()) unlink(m_tempPath.c_str());
    m_tempPath.clear();
}

}  // namespace wmf
