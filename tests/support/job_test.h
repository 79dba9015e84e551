// What the engine job tests share: a fixture that loads a converter library
// and makes jobs in a temporary folder, and checks on a job's log lines.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "converter_host.h"
#include "media_tools.h"

// The last n lines of a job (all of them when it logged fewer).
std::vector<std::string> LastLines(const JobResult& r, size_t n);
// True when some line matches `pattern` (a whole-line regular expression).
bool AnyLineMatches(const JobResult& r, const std::string& pattern);
bool FileExists(const std::string& path);
// Makes folders under `base` (names of up to 200 bytes) until the folder's
// path is `bytes` long, and returns it.
std::string MakeDeepFolder(const std::string& base, size_t bytes);

// Removes `folder` and everything in it as soon as a job's temporary output
// file ("*.unfinished-*") shows up there, as a user deleting the folder
// mid-job would. Stops watching when destroyed.
class FolderRemoverWhileWriting {
public:
    explicit FolderRemoverWhileWriting(std::string folder);
    ~FolderRemoverWhileWriting();
    bool Removed() const { return m_removed; }

private:
    std::string m_folder;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_removed{false};
    std::thread m_thread;
};

class EngineJobTest : public ::testing::Test {
protected:
    explicit EngineJobTest(const char* libraryPath) : m_library(libraryPath) {}

    static void SetUpTestSuite() { s_audio = PickAudioFormat(44100, 2); }
    void SetUp() override { ASSERT_TRUE(m_library.convert()) << m_library.error(); }

    // A job into out.wmv of the folder: 240x180 at 300 kbit/s and 15 fps,
    // stereo 44.1 kHz audio.
    JobOptions Job(const std::string& source, double begin, double end) const;
    JobResult Run(const JobOptions& job) const { return RunConversion(m_library.convert(), job); }

    static inline AudioChoice s_audio;
    TempDir m_dir;
    ConverterLibrary m_library;
};
