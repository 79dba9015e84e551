#include "job_test.h"

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
