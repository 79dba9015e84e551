// The metadata editor on files the writer made, and on damaged ones.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "wmf_tools.h"

using namespace wmftest;

namespace {

const std::wstring kText = L"Converted with Clipwright \u00e9\u4e2d";
const std::string kTextUtf8 = "Converted with Clipwright \xc3\xa9\xe4\xb8\xad";

// A short video-only clip from the writer.
void MakeClip(const std::string& path, int frames = 10, LONG width = 96, LONG height = 64,
              DWORD bitrate = 64000) {
    auto profile = MakeJobProfile(0, 12, width, height, 10, bitrate);
    ComPtr<IWMWriter> w;
    ASSERT_EQ(S_OK, WMCreateWriter(nullptr, w.Put()));
    ASSERT_EQ(S_OK, w->SetProfile(profile.Get()));
    ASSERT_EQ(S_OK, w->SetOutputFilename(Wide(path).c_str()));
    ASSERT_EQ(S_OK, w->BeginWriting());
    OwnedType type = RawVideoType(MEDIASUBTYPE_I420, width, height);
    ComPtr<IWMInputMediaProps> props;
    ASSERT_EQ(S_OK, w->GetInputProps(1, props.Put()));
    ASSERT_EQ(S_OK, props->SetMediaType(&type.mt));
    ASSERT_EQ(S_OK, w->SetInputProps(1, props.Get()));
    for (int i = 0; i < frames; ++i) {
        const auto frame = MakeFrame(MEDIASUBTYPE_I420, width, height, i);
        ComPtr<INSSBuffer> s;
        ASSERT_EQ(S_OK, w->AllocateSample(static_cast<DWORD>(frame.size()), s.Put()));
        BYTE* p = nullptr;
        s->GetBuffer(&p);
        std::memcpy(p, frame.data(), frame.size());
        ASSERT_EQ(S_OK, w->WriteSample(1, i * 1000000ull, 0, s.Get()));
    }
    ASSERT_EQ(S_OK, w->EndWriting());
}

// Opens, adds the description (as the engine does: no terminator) and
// flushes; returns the first failure.
HRESULT Tag(const std::string& path, const std::wstring& text = kText) {
    ComPtr<IWMMetadataEditor> editor;
    HRESULT hr = WMCreateEditor(editor.Put());
    if (FAILED(hr)) return hr;
    hr = editor->Open(Wide(path).c_str());
    if (FAILED(hr)) return hr;
    auto info = editor.As<IWMHeaderInfo3>();
    WORD index = 0;
    hr = info->AddAttribute(0, L"Description", &index, WMT_TYPE_STRING, 0,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() * sizeof(WCHAR)));
    if (SUCCEEDED(hr)) hr = editor->Flush();
    const HRESULT closed = editor->Close();
    return FAILED(hr) ? hr : closed;
}

// Bytes this process has handed to write calls so far.
uint64_t BytesWritten() {
    std::istringstream io(ReadFileBytes("/proc/self/io"));
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "wchar:") return value;
    return 0;
}

// Longer than the room the writer leaves in the header.
const std::wstring kLongText(6000, L'd');

size_t FilesIn(const std::string& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

TEST(Editor, DescriptionIsShownByFfprobeAndReadBack) {
    TempDir dir;
    const std::string path = dir.Path("tag.wmv");
    MakeClip(path);
    ASSERT_EQ(S_OK, Tag(path));
    const JsonValue probe = ProbeCountingFrames(path);
    // FFmpeg's ASF reader names the "Description" attribute "comment".
    EXPECT_EQ(kTextUtf8, probe["format"]["tags"]["comment"].String());
    EXPECT_EQ(10, probe["streams"][1]["nb_read_frames"].Number());
    int status = -1;
    const std::string gst = Discover(path, &status);
    EXPECT_EQ(0, status) << gst;

    // Tagging again replaces the entry rather than adding a second one.
    auto attributeCount = [&] {
        ComPtr<IWMMetadataEditor> e;
        EXPECT_EQ(S_OK, WMCreateEditor(e.Put()));
        EXPECT_EQ(S_OK, e->Open(Wide(path).c_str()));
        WORD n = 0;
        EXPECT_EQ(S_OK, e.As<IWMHeaderInfo3>()->GetAttributeCount(0, &n));
        return n;
    };
    const WORD count = attributeCount();
    ASSERT_EQ(S_OK, Tag(path));
    EXPECT_EQ(count, attributeCount());
    ComPtr<IWMMetadataEditor> editor;
    ASSERT_EQ(S_OK, WMCreateEditor(editor.Put()));
    ASSERT_EQ(S_OK, editor->Open(Wide(path).c_str()));
    auto info = editor.As<IWMHeaderInfo3>();
    WORD stream = 0, bytes = 0;
    WMT_ATTR_DATATYPE type{};
    ASSERT_EQ(S_OK, info->GetAttributeByName(&stream, L"Description", &type, nullptr, &bytes));
    EXPECT_EQ(WMT_TYPE_STRING, type);
    std::vector<WCHAR> text(bytes / sizeof(WCHAR));
    ASSERT_EQ(S_OK, info->GetAttributeByName(&stream, L"Description", &type,
                                             reinterpret_cast<BYTE*>(text.data()), &bytes));
    EXPECT_EQ(kText, std::wstring(text.data()));
    EXPECT_EQ(ASF_E_NOTFOUND, info->GetAttributeByName(&stream, L"Title", &type, nullptr, &bytes));
    EXPECT_EQ(S_OK, editor->Close());
}

// The writer leaves room in the header, so the tag is written into it in
// place: same file, same size, nothing changed past the header, and only
// about a header's worth written, not the file again. A tag too long for
// the room still goes in, by a copy of the file.
TEST(Editor, TagIsWrittenInPlaceWhenItFitsTheHeader) {
    TempDir dir;
    const std::string path = dir.Path("inplace.wmv");
    MakeClip(path, 60, 320, 240, 2000000);
    const std::string before = ReadFileBytes(path);
    struct stat was {};
    ASSERT_EQ(0, stat(path.c_str(), &was));
    ASSERT_GT(before.size(), 256u * 1024);
    const uint64_t headerBytes = [&] {
        uint64_t size = 0;
        for (int i = 7; i >= 0; --i) size = size << 8 | static_cast<uint8_t>(before[16 + i]);
        return size;
    }();
    ASSERT_LT(headerBytes, 64u * 1024);

    const uint64_t written = BytesWritten();
    ASSERT_EQ(S_OK, Tag(path));
    EXPECT_LT(BytesWritten() - written, 64u * 1024);
    const std::string after = ReadFileBytes(path);
    struct stat is {};
    ASSERT_EQ(0, stat(path.c_str(), &is));
    EXPECT_EQ(was.st_ino, is.st_ino);
    ASSERT_EQ(before.size(), after.size());
    EXPECT_NE(before.substr(0, headerBytes), after.substr(0, headerBytes));
    EXPECT_TRUE(
        before.compare(headerBytes, std::string::npos, after, headerBytes, std::string::npos) == 0);
    EXPECT_EQ(kTextUtf8, Probe(path)["format"]["tags"]["comment"].String());
    int status = -1;
    const std::string gst = Discover(path, &status);
    EXPECT_EQ(0, status) << gst;

    ASSERT_EQ(S_OK, Tag(path, kLongText));
    EXPECT_GT(ReadFileBytes(path).size(), before.size());
    EXPECT_EQ(std::string(kLongText.begin(), kLongText.end()),
              Probe(path)["format"]["tags"]["comment"].String());
    EXPECT_EQ(1u, FilesIn(dir.path()));
}

// Every truncation and many byte flips of a good file: the editor never
// crashes, and whenever it fails the file is exactly as it was.
TEST(Editor, DamagedFilesAreRefusedAndLeftUnchanged) {
    TempDir dir;
    const std::string good = dir.Path("good.wmv");
    MakeClip(good);
    const std::string original = ReadFileBytes(good);
    ASSERT_GT(original.size(), 200u);
    const std::string path = dir.Path("damaged.wmv");
    std::vector<std::string> variants = {"", "not an asf file at all", original.substr(0, 16),
                                         original.substr(0, 29), original.substr(0, 30)};
    for (size_t cut = 31; cut < original.size(); cut += 37)
        variants.push_back(original.substr(0, cut));
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        std::string m = original;
        // Mostly the header, where every length lives.
        const size_t at = rng() % std::min<size_t>(m.size(), 1200);
        m[at] = static_cast<char>(m[at] ^ (1u << (rng() % 8)));
        variants.push_back(m);
    }
    int refused = 0;
    for (const std::string& bytes : variants) {
        WriteFileBytes(path, bytes);
        const HRESULT hr = Tag(path);
        if (FAILED(hr)) {
            ++refused;
            ASSERT_EQ(bytes, ReadFileBytes(path)) << "changed although refused";
        }
        ASSERT_EQ(2u, FilesIn(dir.path())) << "a temporary file was left";
    }
    EXPECT_GT(refused, static_cast<int>(variants.size()) / 10);
    EXPECT_TRUE(FAILED(Tag(dir.Path("missing.wmv"))));
}

// Tagging through a link rewrites the file it names; the link stays a link.
TEST(Editor, TaggingThroughALinkKeepsTheLink) {
    TempDir dir;
    const std::string target = dir.Path("target.wmv");
    MakeClip(target);
    const std::string link = dir.Path("link.wmv");
    std::filesystem::create_symlink("target.wmv", link);
    ASSERT_EQ(S_OK, Tag(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(2u, FilesIn(dir.path()));
    std::string tags;
    RunCommand("ffprobe -v error -show_entries format_tags -of flat " + ShellQuote(target), &tags);
    EXPECT_NE(std::string::npos, tags.find(kTextUtf8)) << tags;
}

// A write that cannot finish (here the file size limit) leaves the
// original in place and no temporary file behind.
TEST(Editor, FailedWriteLeavesTheOriginal) {
    TempDir dir;
    const std::string path = dir.Path("limit.wmv");
    MakeClip(path);
    const std::string before = ReadFileBytes(path);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = before.size() / 2;
    setrlimit(RLIMIT_FSIZE, &small);
    // Too long for the header's room: the whole file is written anew.
    const HRESULT hr = Tag(path, kLongText);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(before, ReadFileBytes(path));
    EXPECT_EQ(1u, FilesIn(dir.path()));
}

}  // namespace
