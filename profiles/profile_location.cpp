#include "profiles/profile_location.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Writable means a new file can be made there, which is what the replacing
// write needs; permission bits alone don't tell (read-only mounts, ACLs).
bool DirectoryWritable(const fs::path& dir) {
    const fs::path probe = dir / ".profile.cfg.probe";
    std::FILE* f = std::fopen(probe.c_str(), "wbx");
    if (!f) {
        // A probe left behind by a killed run still proves writability.
        std::error_code ec;
        return fs::exists(probe, ec) && fs::remove(probe, ec);
    }
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

}  // namespace

std::string UserProfilePath(const std::string& seedFrom, const std::string& xdgConfigHome,
                            const std::string& home) {
    fs::path base;
    // XDG_CONFIG_HOME must be absolute; a relative value is ignored.
    if (!xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute())
        base = xdgConfigHome;
    else if (!home.empty())
        base = fs::path(home) / ".config";
    else
        return "";

    const fs::path dir = base / kConfigSubdir;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!DirectoryWritable(dir)) return "";

    const fs::path userFile = dir / kProfileFileName;
    // A failed seed leaves the file missing: the default configuration.
    if (!fs::exists(userFile, ec) && fs::exists(seedFrom, ec))
        fs::copy_file(seedFrom, userFile, ec);
    return userFile.string();
}

std::string ResolveProfilePath(const std::string& programDir, const std::string& xdgConfigHome,
                               const std::string& home) {
    const std::string besideProgram = (fs::path(programDir) / kProfileFileName).string();
    if (DirectoryWritable(programDir)) return besideProgram;
    const std::string user = UserProfilePath(besideProgram, xdgConfigHome, home);
    return user.empty() ? besideProgram : user;
}

std::string ResolveProfilePath(const std::string& programDir) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return ResolveProfilePath(programDir, xdg ? xdg : "", home ? home : "");
}
