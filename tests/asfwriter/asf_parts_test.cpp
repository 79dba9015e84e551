#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/asfwriter/asf_profile.h"
#include "convert/asfwriter/progress_worker.h"

namespace {

DWORD Choose(const std::vector<std::wstring>& names) {
    return ChooseVideoCodec(
        static_cast<DWORD>(names.size()),
        [&](DWORD j, std::wstring& n) {
            if (names[j].empty()) return false;  // an unreadable name
            n = names[j];
            return true;
        },
        kAsfProfileRules.codecs);
}

const std::wstring kV7 = L"Windows Media Video V7";
const std::wstring kV8 = L"Windows Media Video V8";
const std::wstring kV9 = L"Windows Media Video 9";

}  // namespace

TEST(AsfCodecChoice, PrefersNineThenEightThenSeven) {
    EXPECT_EQ(Choose({kV7, kV8}), 1u);  // V7 listed first still loses to V8
    EXPECT_EQ(Choose({kV8, kV7}), 0u);
    EXPECT_EQ(Choose({L"Other", kV7}), 1u);  // V7 alone beats an unknown codec 0
    EXPECT_EQ(Choose({kV8, kV9, kV7}), 1u);  // nine wins and ends the scan
    EXPECT_EQ(Choose({L"Other", L"Another"}), 0u);
    EXPECT_EQ(Choose({L"", kV8}), 1u);                        // an unreadable name is skipped
    EXPECT_EQ(Choose({kV8, L"Windows Media Video v8"}), 0u);  // compared exactly
    EXPECT_EQ(Choose({kV7, kV7}), 1u);                        // an equal position taken again
    EXPECT_EQ(Choose({}), 0u);
}

TEST(AsfProgress, ShareOfTheWholeSourceAndNoDivisionByZero) {
    EXPECT_EQ(CProgressWorker::PercentOf(60, 600), 10);
    EXPECT_EQ(CProgressWorker::PercentOf(599.9, 600), 99);
    EXPECT_EQ(CProgressWorker::PercentOf(5, 0), 0);
    EXPECT_EQ(CProgressWorker::PercentOf(-1, 10), 0);
    EXPECT_EQ(CProgressWorker::PercentOf(12, 10), 100);
}
