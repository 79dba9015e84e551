// Where profile.cfg is kept, and the replacing write.
#include <gtest/gtest.h>

#include <filesystem>

#include "profiles/profile_file_io.h"
#include "profiles/profile_location.h"
#include "store_test_support.h"

namespace fs = std::filesystem;

namespace {

TEST(ProfileLocation, BesideAWritableProgram) {
    TempDir program;
    EXPECT_EQ(ResolveProfilePath(program.path(), "/nonexistent", "/nonexistent"),
              program.Path("profile.cfg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), {}), 0);  // no probe left
}

TEST(ProfileLocation, UnwritableProgramDirectoryUsesTheUserDirectory) {
    TempDir config;
    // /proc refuses new files even to root.
    EXPECT_EQ(ResolveProfilePath("/proc", config.path(), ""),
              (fs::path(config.path()) / "reelsmith" / "profile.cfg").string());
    EXPECT_TRUE(fs::is_directory(fs::path(config.path()) / "reelsmith"));
    // Nowhere writable: the path beside the program, which still reads.
    EXPECT_EQ(ResolveProfilePath("/proc", "", ""), "/proc/profile.cfg");
}

TEST(ProfileLocation, UserDirectoryIsSeededOnceFromTheProgramsCopy) {
    TempDir program, home, xdg;
    const std::string seed = program.Path("profile.cfg");
    WriteFileBytes(seed, "1,0\nSeed.1,1,1,1,1,1,1\n");

    // XDG_CONFIG_HOME wins over HOME; a relative one is ignored.
    const std::string viaXdg = UserProfilePath(seed, xdg.path(), home.path());
    EXPECT_EQ(viaXdg, (fs::path(xdg.path()) / "reelsmith" / "profile.cfg").string());
    const std::string viaHome = UserProfilePath(seed, "relative/dir", home.path());
    EXPECT_EQ(viaHome, (fs::path(home.path()) / ".config" / "reelsmith" / "profile.cfg").string());
    EXPECT_EQ(ReadFileBytes(viaHome), "1,0\nSeed.1,1,1,1,1,1,1\n");

    // The user's own file is never replaced by the seed.
    WriteFileBytes(viaHome, "1,0\nMine.2,2,2,2,2,2,2\n");
    EXPECT_EQ(UserProfilePath(seed, "", home.path()), viaHome);
    EXPECT_EQ(ReadFileBytes(viaHome), "1,0\nMine.2,2,2,2,2,2,2\n");

    // Without a seed the user starts from the default configuration.
    TempDir other;
    const std::string unseeded = UserProfilePath(program.Path("missing.cfg"), other.path(), "");
    EXPECT_FALSE(fs::exists(unseeded));
    EXPECT_EQ(UserProfilePath(seed, "", ""), "");
}

TEST(ProfileFileIo, FailedReplaceLeavesTargetAndNoTemporary) {
    TempDir dir;
    // Renaming a file over a non-empty directory fails after the temporary
    // file was written.
    const std::string target = dir.Path("profile.cfg");
    fs::create_directory(target);
    WriteFileBytes(target + "/keep", "x");
    EXPECT_FALSE(ReplaceFileContents(target, "1,0\na.1,1,1,1,1,1,1\n"));
    EXPECT_EQ(ReadFileBytes(target + "/keep"), "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);

    std::string text;
    EXPECT_EQ(ReadWholeFile(target, text), FileReadResult::NotAFile);
    EXPECT_EQ(ReadWholeFile(dir.Path("none"), text), FileReadResult::CantOpen);

    const std::string file = dir.Path("f.cfg");
    ASSERT_TRUE(ReplaceFileContents(file, "old"));
    ASSERT_TRUE(ReplaceFileContents(file, "new\r\n"));
    EXPECT_EQ(ReadWholeFile(file, text), FileReadResult::Ok);
    EXPECT_EQ(text, "new\r\n");
}

}  // namespace
