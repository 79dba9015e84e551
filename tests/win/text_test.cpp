#include <gtest/gtest.h>

#include "platform/win/library.h"
#include "platform/win/text.h"

TEST(Text, RoundTripsAnyCodePoint) {
    const char utf8[] = "Caf\xC3\xA9 \xE6\x98\xA0\xE7\x94\xBB \xF0\x9F\x8E\xAC.mp4";
    const std::wstring wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide, L"Caf\u00E9 \u6620\u753B \U0001F3AC.mp4");
    EXPECT_EQ(WideToUtf8(wide.c_str()), utf8);
    EXPECT_EQ(WideToUtf8(nullptr), "");
    EXPECT_EQ(Utf8ToWide(nullptr), L"");
}

TEST(Text, StrictConversionRefusesWhatIsNotUtf8AndWhatDoesNotFit) {
    WCHAR out[8];
    // A terminated conversion counts the terminator.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "abc", -1, out, 8), 4);
    EXPECT_STREQ(out, L"abc");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "abc", -1, nullptr, 0), 4);

    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "a\xFFz", "\xF4\x90\x80\x80"}) {
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bad, -1, out, 8), 0) << bad;
        EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    }
    // Without the flag, each bad byte stands as U+FFFD.
    EXPECT_EQ(Utf8ToWide("a\xFFz"), L"a\uFFFDz");

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdefgh", -1, out, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(Text, WideTextThatIsNoCodePointBecomesReplacement) {
    const WCHAR text[] = {L'a', static_cast<WCHAR>(0xD800), static_cast<WCHAR>(0x110000), 0};
    BOOL replaced = FALSE;
    char out[16];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, &replaced);
    EXPECT_EQ(n, 8);  // 'a', two three-byte replacements, the terminator
    EXPECT_TRUE(replaced);
    EXPECT_STREQ(out, "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Text, ResultsAreQuotedAsEightUpperCaseHexDigits) {
    EXPECT_EQ(HexText(MakeHResult(0x80040240u)), "0X80040240");
    EXPECT_EQ(HexText(S_OK), "0X00000000");
    EXPECT_EQ(HexText(HRESULT_FROM_WIN32(2)), "0X80070002");
}
