// The engine's pure pieces: bounding a log line to the caller's buffer,
// path conversion and the video codec choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/common/convert_api.h"
#include "convert/engine/log_channel.h"
#include "convert/engine/wide_path.h"
#include "convert/wmf9/profile_builder.h"

namespace {

TEST(LogLineBound, ShortLineIsCopiedWhole) {
    char buf[kLogBufferSize];
    EXPECT_EQ(20u, CopyLogLine(buf, sizeof buf, "End of converting.\r\n"));
    EXPECT_STREQ("End of converting.\r\n", buf);
}

TEST(LogLineBound, LongLineIsCutToTheBufferAndKeepsItsEnding) {
    std::vector<char> buf(kLogBufferSize + 64, 'Z');
    for (const std::string ending : {"\r\n", "\n", ""}) {
        SCOPED_TRACE("ending size " + std::to_string(ending.size()));
        const std::string line = "Info: Begin Convert '" + std::string(1500, 'a') + "'" + ending;
        std::fill(buf.begin(), buf.end(), 'Z');
        EXPECT_EQ(kLogBufferSize - 1, CopyLogLine(buf.data(), kLogBufferSize, line.c_str()));
        const std::string copied(buf.data());
        EXPECT_EQ(kLogBufferSize - 1, copied.size());
        EXPECT_EQ(0u, copied.rfind("Info: Begin Convert 'aaa", 0));
        EXPECT_EQ(ending, copied.substr(copied.size() - ending.size()));
        for (size_t i = kLogBufferSize; i < buf.size(); ++i) ASSERT_EQ('Z', buf[i]) << i;
    }
}

TEST(LogLineBound, LineOfExactlyTheBufferLessOneFits) {
    char buf[kLogBufferSize];
    const std::string line(kLogBufferSize - 3, 'x');
    EXPECT_EQ(line.size() + 2, CopyLogLine(buf, sizeof buf, (line + "\r\n").c_str()));
    EXPECT_EQ(line + "\r\n", std::string(buf));
}

TEST(WidePath, Utf8BecomesCodePoints) {
    WCHAR out[kMaxPathChars];
    ASSERT_EQ(S_OK, ToWidePath("/tmp/vid\xC3\xA9o \xE2\x82\xAC\xF0\x9F\x8E\xAC.mp4", out));
    EXPECT_EQ(std::wstring(L"/tmp/vid\u00E9o \u20AC\U0001F3AC.mp4"), std::wstring(out));
}

TEST(WidePath, TooLongOrNotUtf8FailsWithNoCutPath) {
    WCHAR out[kMaxPathChars];
    const std::string fits(kMaxPathChars - 1, 'a');
    EXPECT_EQ(S_OK, ToWidePath(fits.c_str(), out));
    EXPECT_EQ(fits.size(), std::wstring(out).size());

    const std::string tooLong(kMaxPathChars, 'a');
    EXPECT_EQ(HRESULT_FROM_WIN32(122), ToWidePath(tooLong.c_str(), out));
    EXPECT_EQ(L'\0', out[0]);
    EXPECT_EQ(HRESULT_FROM_WIN32(1113), ToWidePath("/tmp/\xC3(.mp4", out));
    EXPECT_EQ(HRESULT_FROM_WIN32(1113), ToWidePath("/tmp/\xC0\xAF", out));  // overlong '/'
    EXPECT_EQ(L'\0', out[0]);
    EXPECT_EQ(E_POINTER, ToWidePath(nullptr, out));
}

DWORD Choose(const std::vector<std::wstring>& names, std::vector<DWORD>* asked = nullptr) {
    return ChooseVideoCodec(
        static_cast<DWORD>(names.size()),
        [&](DWORD j, std::wstring& name) {
            if (asked) asked->push_back(j);
            if (names[j].empty()) return false;  // a name that cannot be read
            name = names[j];
            return true;
        },
        kWmf9ProfileRules.codecs);
}

TEST(VideoCodecChoice, V8WinsAndEndsTheScan) {
    std::vector<DWORD> asked;
    EXPECT_EQ(1u, Choose({L"Windows Media Video 9", L"Windows Media Video V8",
                          L"Windows Media Video 9 Advanced Profile"},
                         &asked));
    EXPECT_EQ((std::vector<DWORD>{0, 1}), asked);
}

TEST(VideoCodecChoice, AdvancedProfileIsTakenWithoutV8) {
    EXPECT_EQ(2u, Choose({L"Windows Media Video V7", L"", L"Windows Media Video 9 Advanced Profile",
                          L"Windows Media Video 9 Advanced Profile"}));
}

TEST(VideoCodecChoice, LowerPreferencesNeverDisplaceCodecZero) {
    EXPECT_EQ(0u,
              Choose({L"Some Other Codec", L"Windows Media Video 9", L"Windows Media Video V7"}));
    EXPECT_EQ(0u, Choose({L"", L"windows media video v8", L"Windows Media Video V8 "}));
    EXPECT_EQ(0u, Choose({}));
}

}  // namespace
