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
    EXPECT_EQ(ResolveProfilePath(program.Path().string(), "/nonexistent", "/nonexistent"),
              program.File("profile.cfg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(program.Path()), {}), 0);  // no probe left
}

TEST(ProfileLocation, UnwritableProgramDirectoryUsesTheUserDirectory) {
    TempDir config;
    // /proc refuses new files even to root.
    EXPECT_EQ(ResolveProfilePath("/proc", config.Path().string(), ""),
              (config.Path() / "reelsmith" / "profile.cfg").string());
    EXPECT_TRUE(fs::is_directory(config.Path() / "reelsmith"));
    // Nowhere writable: the path beside the program, which still reads.
    EXPECT_EQ(ResolveProfilePath("/proc", "", ""), "/proc/profile.cfg");
}

TEST(ProfileLocation, UserDirectoryIsSeededOnceFromTheProgramsCopy) {
    TempDir program, home, xdg;
    const std::string seed = program.File("profile.cfg");
    WriteText(seed, "1,0\nSeed.1,1,1,1,1,1,1\n");

    // XDG_CONFIG_HOME wins over HOME; a relative one is ignored.
    const std::string viaXdg = UserProfilePath(seed, xdg.Path().string(), home.Path().string());
    EXPECT_EQ(viaXdg, (xdg.Path() / "reelsmith" / "profile.cfg").string());
    const std::string viaHome = UserProfilePath(seed, "relative/dir", home.Path().string());
    EXPECT_EQ(viaHome, (home.Path() / ".config" / "reelsmith" / "profile.cfg").string());
    EXPECT_EQ(ReadText(viaHome), "1,0\nSeed.1,1,1,1,1,1,1\n");

    // The user's own file is never replaced by the seed.
    WriteText(viaHome, "1,0\nMine.2,2,2,2,2,2,2\n");
    EXPECT_EQ(UserProfilePath(seed, "", home.Path().string()), viaHome);
    EXPECT_EQ(ReadText(viaHome), "1,0\nMine.2,2,2,2,2,2,2\n");

    // Without a seed the user starts from the default configuration.
    TempDir other;
    const std::string unseeded =
        UserProfilePath(program.File("missing.cfg"), other.Path().string(), "");
    EXPECT_FALSE(fs::exists(unseeded));
    EXPECT_EQ(UserProfilePath(seed, "", ""), "");
}

TEST(ProfileFileIo, FailedReplaceLeavesTargetAndNoTemporary) {
    TempDir dir;
    // Renaming a file over a non-empty directory fails after the temporary
    // file was written.
    const std::string target = dir.File("profile.cfg");
    fs::create_directory(target);
    WriteText(target + "/keep", "x");
    EXPECT_FALSE(ReplaceFileContents(target, "1,0\na.1,1,1,1,1,1,1\n"));
    EXPECT_EQ(ReadText(target + "/keep"), "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);

    std::string text;
    EXPECT_EQ(ReadWholeFile(target, text), FileReadResult::NotAFile);
    EXPECT_EQ(ReadWholeFile(dir.File("none"), text), FileReadResult::CantOpen);

    const std::string file = dir.File("f.cfg");
    ASSERT_TRUE(ReplaceFileContents(file, "old"));
    ASSERT_TRUE(ReplaceFileContents(file, "new\r\n"));
    EXPECT_EQ(ReadWholeFile(file, text), FileReadResult::Ok);
    EXPECT_EQ(text, "new\r\n");
}

}  // namespace
