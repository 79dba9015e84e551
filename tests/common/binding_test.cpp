#include <gtest/gtest.h>
#include <dlfcn.h>

#include <string>
#include <vector>

#include "convert/common/program_names.h"
#include "job/converter_binding.h"

namespace {

struct RecordingLog : IJobLog {
    std::vector<std::string> lines;
    void LogJobLine(const std::string& line) override { lines.push_back(line); }
};

const std::string kHome =
    std::string("Check home page at ") + kMakerWebAddress + " for download\r\n";

}  // namespace

TEST(Library, MissingFileIs126AndMissingImportIs127) {
    EXPECT_EQ(LoadLibraryA("libzev-no-such-library.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    // LD_LIBRARY_PATH puts the reduced runtime first.
    EXPECT_EQ(LoadLibraryA("libfixture_needs_provider.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_NE(GetLastLoaderMessage().find("zev_fixture_needed"), std::string::npos);
}

TEST(Library, ExportedNameIsTheCompilersNameForTheDeclaration) {
    HMODULE lib = LoadLibraryA("libfixture_convert_stub.so");
    ASSERT_NE(lib, nullptr) << GetLastLoaderMessage();
    auto fn = reinterpret_cast<ConvertFn>(GetProcAddress(lib, kConvertSymbol));
    ASSERT_NE(fn, nullptr);
    ProfileStruc p{};
    p.width = 640;
    char log[kLogBufferSize] = {};
    int progress = 0;
    fn(nullptr, nullptr, &p, log, nullptr, nullptr, nullptr, nullptr, 0, 0, &progress);
    EXPECT_STREQ(log, "stub");
    EXPECT_EQ(progress, 640);
    EXPECT_EQ(GetProcAddress(lib, "Convert"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(lib));
}

TEST(Binding, PrimaryLibraryBindsDirectly) {
    RecordingLog log;
    BoundConverter bound;
    ASSERT_TRUE(BindConverter(log, bound, "libfixture_convert_stub.so", "libzev-none.so"));
    EXPECT_NE(bound.convert, nullptr);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Load Convertor Library Success.\r\n",
                                                   "Prepare convert success\r\n"}));
    UnbindConverter(bound);
    EXPECT_EQ(bound.module, nullptr);
}

TEST(Binding, MissingPrimaryEndsTheJobWithoutTryingTheFallback) {
    RecordingLog log;
    BoundConverter bound;
    EXPECT_FALSE(BindConverter(log, bound, "libzev-none.so", "libfixture_convert_stub.so"));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Load Convertor Library failed! Error = 0X0000007E\r\n"}));
    EXPECT_EQ(bound.module, nullptr);
}

TEST(Binding, TooOldRuntimeFallsBackWithTheInstallHint) {
    RecordingLog log;
    BoundConverter bound;
    ASSERT_TRUE(
        BindConverter(log, bound, "libfixture_needs_provider.so", "libfixture_convert_stub.so"));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "Load Convertor Library failed! Error = 0X0000007F\r\n",
                  "Please install 'Windows Media Player 9' or 'Windows Media Format 9 Series "
                  "Runtime'\r\n",
                  kHome, "Begin load WMP V7\r\n", "Load V7 Dll success!\r\n",
                  "Load Convertor Library Success.\r\n", "Prepare convert success\r\n"}));
    UnbindConverter(bound);
}

TEST(Binding, FailedFallbackAndMissingEntryPointEndTheJob) {
    RecordingLog log;
    BoundConverter bound;
    EXPECT_FALSE(BindConverter(log, bound, "libfixture_needs_provider.so", "libzev-none.so"));
    EXPECT_EQ(log.lines.back(), "Load V7 Dll Failed! Mission abort!\r\n");

    log.lines.clear();
    EXPECT_FALSE(BindConverter(log, bound, "libfixture_no_entry.so", "libzev-none.so"));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Load Convertor Library Success.\r\n",
                                                   "Get Proc Failed\r\n"}));
    EXPECT_EQ(bound.module, nullptr);
    // The library whose entry point was missing is not left loaded.
    EXPECT_EQ(dlopen("libfixture_no_entry.so", RTLD_NOW | RTLD_NOLOAD), nullptr);
}
