#include "app/dest_proposal.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kOutputExtension[] = ".wmv";
// Past this many taken names the plain one is proposed; the dialog asks
// before it replaces a file.
constexpr int kMaxNumber = 9999;

}  // namespace

std::string ProposeDestination(const std::string& source, const std::string& lastFolder,
                               const PathExists& exists) {
    if (source.empty()) return lastFolder;
    const fs::path from = fs::path(source).lexically_normal();
    const fs::path folder =
        !lastFolder.empty() && exists(lastFolder) ? fs::path(lastFolder) : from.parent_path();
    const std::string stem = from.stem().string();
    auto candidate = [&](int number) {
        const std::string name = number < 2 ? stem : stem + " (" + std::to_string(number) + ")";
        return (folder / (name + kOutputExtension)).lexically_normal();
    };
    for (int number = 1; number <= kMaxNumber; ++number) {
        const fs::path path = candidate(number);
        if (path != from && !exists(path.string())) return path.string();
    }
    return candidate(1) == from ? candidate(2).string() : candidate(1).string();
}

std::string ProposeDestination(const std::string& source, const std::string& lastFolder) {
    return ProposeDestination(source, lastFolder, [](const std::string& path) {
        std::error_code ec;
        return fs::exists(fs::symlink_status(path, ec));
    });
}

std::string FolderOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}
