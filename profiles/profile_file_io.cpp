#include "profiles/profile_file_io.h"

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
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) return FileReadResult::CantOpen;
    char buf[8192];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof(buf), f.get())) > 0) {
        if (text.size() + n > kMaxProfileFileBytes) {
            text.clear();
            return FileReadResult::TooLarge;
        }
        text.append(buf, n);
    }
    // A directory opens on Linux but can't be read.
    if (std::ferror(f.get())) {
        text.clear();
        return FileReadResult::CantOpen;
    }
    return FileReadResult::Ok;
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
