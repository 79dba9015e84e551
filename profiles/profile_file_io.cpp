#include "profiles/profile_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    // Opening a pipe for reading waits for a writer, unless it does not
    // block; the file's kind is known once it is open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileReadResult::CantOpen;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool known = st.st_mode != 0;
        close(fd);
        return known ? FileReadResult::NotAFile : FileReadResult::CantOpen;
    }
    FilePtr f(fdopen(fd, "rb"));
    if (!f) {
        close(fd);
        return FileReadResult::CantOpen;
    }
    char buf[8192];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof(buf), f.get())) > 0) {
        if (text.size() + n > kMaxProfileFileBytes) {
            text.clear();
            return FileReadResult::TooLarge;
        }
        text.append(buf, n);
    }
    if (std::ferror(f.get())) {
        text.clear();
        return FileReadResult::CantOpen;
    }
    return FileReadResult::Ok;
}

std::string NotAFileText(const std::string& path) {
    return path + " is not a regular file (a folder, a pipe or a device)";
}

bool ReplaceFileContents(const std::string& path, const std::string& text) {
    std::random_device seed;
    std::string temp;
    FilePtr f;
    // "x": never reuse a file someone else is writing.
    for (int attempt = 0; attempt < 16 && !f; ++attempt) {
        temp = path + ".tmp" + std::to_string(seed() & 0xFFFFFF);
        f.reset(std::fopen(temp.c_str(), "wbx"));
    }
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
    ok = std::fflush(f.get()) == 0 && ok;
    ok = std::fclose(f.release()) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}
