// Where the writer's file goes: a temporary file beside the destination
// while writing, the destination replaced only by a whole file, links kept,
// and every failure leaving the old destination as it was.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "wmf_tools.h"

using namespace wmftest;
namespace fs = std::filesystem;

namespace {

constexpr LONG kWidth = 64;
constexpr LONG kHeight = 48;
constexpr QWORD kFrameUnits = 1000000;  // 10 frames per second

std::vector<std::string> NamesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class OutputFileTest : public ::testing::Test {
protected:
    // A writer of a small video-heavy profile, begun on `path`.
    HRESULT Begin(const std::string& path, DWORD bitrate = 50000, LONG width = kWidth,
                  LONG height = kHeight) {
        m_writer.Reset();
        EXPECT_EQ(S_OK, WMCreateWriter(nullptr, m_writer.Put()));
        auto profile = MakeJobProfile(0, 12, width, height, 10, bitrate);
        EXPECT_EQ(S_OK, m_writer->SetProfile(profile.Get()));
        EXPECT_EQ(S_OK, m_writer->SetOutputFilename(Wide(path).c_str()));
        HRESULT hr = m_writer->BeginWriting();
        if (FAILED(hr)) return hr;
        ComPtr<IWMInputMediaProps> props;
        OwnedType type = RawVideoType(MEDIASUBTYPE_I420, width, height);
        EXPECT_EQ(S_OK, m_writer->GetInputProps(1, props.Put()));
        EXPECT_EQ(S_OK, props->SetMediaType(&type.mt));
        EXPECT_EQ(S_OK, m_writer->SetInputProps(1, props.Get()));
        return S_OK;
    }
    HRESULT WriteFrames(int count, LONG width = kWidth, LONG height = kHeight) {
        for (int i = 0; i < count; ++i) {
            const std::vector<BYTE> frame = MakeFrame(MEDIASUBTYPE_I420, width, height, m_next);
            ComPtr<INSSBuffer> s;
            HRESULT hr = m_writer->AllocateSample(static_cast<DWORD>(frame.size()), s.Put());
            BYTE* p = nullptr;
            if (SUCCEEDED(hr)) hr = s->GetBuffer(&p);
            if (FAILED(hr)) return hr;
            std::memcpy(p, frame.data(), frame.size());
            s->SetLength(static_cast<DWORD>(frame.size()));
            hr = m_writer->WriteSample(1, m_next++ * kFrameUnits, 0, s.Get());
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }

    TempDir m_dir;
    ComPtr<IWMWriter> m_writer;
    int m_next = 0;
};

// While writing, the old file stays and one visibly named temporary file
// grows beside it; EndWriting swaps them, keeping the old file's mode (and
// its owner, where the test may give the file away).
TEST_F(OutputFileTest, OldFileStaysUntilTheNewOneIsWholeThenIsReplaced) {
    const std::string dest = m_dir.Path("movie.wmv");
    WriteFileBytes(dest, "the old movie");
    ASSERT_EQ(0, chmod(dest.c_str(), 0640));
    constexpr uid_t kSomeoneElse = 65534;
    const bool giveAway = geteuid() == 0;
    if (giveAway) ASSERT_EQ(0, chown(dest.c_str(), kSomeoneElse, kSomeoneElse));
    ASSERT_EQ(S_OK, Begin(dest));
    // Video only: the profile's audio stream never delivers, and after a
    // while the video is no longer held back for it but goes to disk as it
    // comes (before, all of it stayed in memory until the end).
    ASSERT_EQ(S_OK, WriteFrames(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    ASSERT_EQ(S_OK, WriteFrames(30));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the encoder's thread

    EXPECT_EQ("the old movie", ReadFileBytes(dest));
    const std::vector<std::string> during = NamesIn(m_dir.path());
    ASSERT_EQ(2u, during.size());
    EXPECT_EQ(0u, during[1].rfind("movie.wmv.unfinished-", 0)) << during[1];
    EXPECT_GT(fs::file_size(m_dir.Path(during[1])), 5000u);

    ASSERT_EQ(S_OK, m_writer->EndWriting());
    EXPECT_EQ(std::vector<std::string>{"movie.wmv"}, NamesIn(m_dir.path()));
    struct stat st {};
    ASSERT_EQ(0, stat(dest.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777);
    if (giveAway) EXPECT_EQ(kSomeoneElse, st.st_uid);
    const JsonValue probe = ProbeCountingFrames(dest);
    EXPECT_EQ("asf", probe["format"]["format_name"].String());
    EXPECT_NEAR(4.0, probe["format"]["duration"].Number(), 0.3);
}

// A link is followed: the file it names is replaced (or made, for a link
// that points at nothing yet) and the link itself stays.
TEST_F(OutputFileTest, LinkedDestinationReplacesTheTargetAndKeepsTheLink) {
    ASSERT_EQ(0, mkdir(m_dir.Path("real").c_str(), 0755));
    const std::string target = m_dir.Path("real/target.wmv");
    WriteFileBytes(target, "old");
    const std::string link = m_dir.Path("link.wmv");
    fs::create_symlink("real/target.wmv", link);
    ASSERT_EQ(S_OK, Begin(link));
    ASSERT_EQ(S_OK, WriteFrames(10));
    ASSERT_EQ(S_OK, m_writer->EndWriting());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ("real/target.wmv", fs::read_symlink(link).string());
    EXPECT_EQ(std::vector<std::string>{"target.wmv"}, NamesIn(m_dir.Path("real")));
    EXPECT_GT(fs::file_size(target), 1000u);

    const std::string dangling = m_dir.Path("dangling.wmv");
    fs::create_symlink("real/new.wmv", dangling);
    ASSERT_EQ(S_OK, Begin(dangling));
    ASSERT_EQ(S_OK, WriteFrames(5));
    ASSERT_EQ(S_OK, m_writer->EndWriting());
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_TRUE(fs::is_regular_file(m_dir.Path("real/new.wmv")));
}

// The folder disappears while the job runs: EndWriting fails with "not
// found" instead of reporting a file that is nowhere.
TEST_F(OutputFileTest, FolderRemovedMidJobIsAFailure) {
    const std::string folder = m_dir.Path("gone");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    ASSERT_EQ(S_OK, Begin(folder + "/out.wmv"));
    ASSERT_EQ(S_OK, WriteFrames(10));
    fs::remove_all(folder);
    EXPECT_EQ(NS_E_FILE_NOT_FOUND, m_writer->EndWriting());
    EXPECT_FALSE(fs::exists(folder));
}

// Neither a pipe nor a folder is written into or replaced, and the writer
// does not hang on a pipe that nobody reads.
TEST_F(OutputFileTest, DestinationsThatAreNotFilesAreRefusedAtOnce) {
    const std::string fifo = m_dir.Path("pipe.wmv");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    EXPECT_EQ(NS_E_FILE_WRITE, Begin(fifo));
    const std::string folder = m_dir.Path("folder.wmv");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    EXPECT_EQ(NS_E_FILE_WRITE, Begin(folder));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ((std::vector<std::string>{"folder.wmv", "pipe.wmv"}), NamesIn(m_dir.path()));
}

// A disk that fills up: the write or the end fails with "disk full", the
// old file is kept and no temporary file is left. Needs a small file
// system of its own, which only root can mount.
TEST_F(OutputFileTest, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string mountPoint = m_dir.Path("small");
    ASSERT_EQ(0, mkdir(mountPoint.c_str(), 0755));
    if (geteuid() != 0 || mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "needs root to mount a 256 KB tmpfs for a full disk";
    const std::string dest = mountPoint + "/full.wmv";
    WriteFileBytes(dest, "old file on a small disk");
    HRESULT hr = Begin(dest, 4000000, 320, 240);
    for (int i = 0; i < 40 && SUCCEEDED(hr); ++i) hr = WriteFrames(5, 320, 240);
    const HRESULT ended = m_writer->EndWriting();
    EXPECT_EQ(NS_E_DISK_FULL, FAILED(hr) ? hr : ended);
    EXPECT_TRUE(FAILED(ended));
    EXPECT_EQ("old file on a small disk", ReadFileBytes(dest));
    EXPECT_EQ(std::vector<std::string>{"full.wmv"}, NamesIn(mountPoint));
    m_writer.Reset();
    umount(mountPoint.c_str());
}

// A destination whose name is near the file system's 255 bytes still gets
// a temporary name beside it: the name is cut, never inside a character.
TEST_F(OutputFileTest, LongNamesGetAShortenedTemporaryName) {
    std::string name;
    for (int i = 0; i < 125; ++i) name += "\xC3\xA9";  // 250 bytes
    const std::string dest = m_dir.Path(name + ".wmv");
    ASSERT_EQ(S_OK, Begin(dest));
    ASSERT_EQ(S_OK, WriteFrames(3));
    std::string temp;
    for (const std::string& n : NamesIn(m_dir.path()))
        if (n.find(".unfinished-") != std::string::npos) temp = n;
    ASSERT_FALSE(temp.empty());
    EXPECT_LE(temp.size(), 255u);
    const std::string kept = temp.substr(0, temp.rfind(".unfinished-"));
    EXPECT_EQ(0u, kept.size() % 2);  // whole two-byte characters only
    EXPECT_EQ(0u, name.rfind(kept, 0));
    ASSERT_EQ(S_OK, m_writer->EndWriting());
    EXPECT_EQ(std::vector<std::string>{name + ".wmv"}, NamesIn(m_dir.path()));
}

}  // namespace
