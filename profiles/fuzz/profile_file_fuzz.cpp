// libFuzzer target for the profile.cfg reader: whatever the bytes, reading
// must not fail, and what it read must write and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "profiles/profile_file.h"
#include "profiles/profile_values.h"

namespace {

bool SameProfile(const ProfileRecord& a, const ProfileRecord& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ProfileFileContents first =
        ParseProfileFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!first.profiles.empty() &&
        (first.selectedIndex < 0 || first.selectedIndex >= static_cast<int>(first.profiles.size())))
        std::abort();
    for (const ProfileRecord& p : first.profiles)
        if (p.name[0] == '\0' || p.name[kMaxProfileNameChars] != '\0') std::abort();

    const ProfileFileContents second =
        ParseProfileFile(FormatProfileFile(first.selectedIndex, first.profiles));
    if (!second.problems.empty() || second.lossy) std::abort();
    if (second.profiles.size() != first.profiles.size()) std::abort();
    if (!first.profiles.empty() && second.selectedIndex != first.selectedIndex) std::abort();
    for (size_t i = 0; i < first.profiles.size(); ++i)
        if (!SameProfile(first.profiles[i], second.profiles[i])) std::abort();
    return 0;
}
