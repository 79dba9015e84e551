#include "job_test.h"

#include <chrono>
#include <filesystem>

#include <sys/stat.h>

#include <algorithm>
#include <regex>

std::vector<std::string> LastLines(const JobResult& r, size_t n) {
    const size_t from = r.lines.size() > n ? r.lines.size() - n : 0;
    return std::vector<std::string>(r.lines.begin() + static_cast<long>(from), r.lines.end());
}

bool AnyLineMatches(const JobResult& r, const std::string& pattern) {
    const std::regex re(pattern);
    return std::any_of(r.lines.begin(), r.lines.end(),
                       [&](const std::string& l) { return std::regex_match(l, re); });
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

JobOptions EngineJobTest::Job(const std::string& source, double begin, double end) const {
    JobOptions job;
    job.source = source;
    job.dest = m_dir.Path("out.wmv");
    job.profile = MakeProfile(240, 180, 300000.0, 15, s_audio);
    job.begin = begin;
    job.end = end;
    return job;
}

FolderRemoverWhileWriting::FolderRemoverWhileWriting(std::string folder)
    : m_folder(std::move(folder)) {
    m_thread = std::thread([this] {
        while (!m_done) {
            std::error_code ec;
            for (const auto& e : std::filesystem::directory_iterator(m_folder, ec)) {
                if (e.path().filename().string().find(".unfinished-") == std::string::npos)
                    continue;
                std::filesystem::remove_all(m_folder, ec);
                m_removed = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

FolderRemoverWhileWriting::~FolderRemoverWhileWriting() {
    m_done = true;
    m_thread.join();
}

std::string MakeDeepFolder(const std::string& base, size_t bytes) {
    std::string path = base;
    while (path.size() + 1 < bytes) {
        const size_t room = bytes - path.size() - 1;
        path += "/" + std::string(room > 200 ? (room - 200 < 2 ? 150 : 200) : room, 'd');
        std::filesystem::create_directory(path);
    }
    return path;
}
