// zev-convert: the conversion job without the GUI, for scripts and batch work.
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "job/job_control.h"
#include "job/media_warm_up.h"
#include "platform/win/trace.h"
#include "profiles/audio_format_catalog.h"
#include "profiles/profile_location.h"
#include "profiles/profile_lookup.h"
#include "tools/zev-convert/console_job.h"
#include "tools/zev-convert/options.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitAborted = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStopped = 130;

// Set by Ctrl+C, watched by the running job.
CStopRequest g_stopRequest;

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "zev-convert: %s\n", message.c_str());
    return code;
}

std::string ProgramDir() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    buf[n] = '\0';
    std::string path(buf);
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Ctrl+C, SIGTERM and SIGHUP (a closed terminal) all stop the job the
// ordinary way: the file written so far is closed, tagged and kept.
void OnInterrupt(int signal) {
    g_stopRequest.Request();
    // A second one of the same kind ends the program at once; only the
    // temporary file beside the destination is left then.
    std::signal(signal, SIG_DFL);
}

void CatchStopSignals() {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, OnInterrupt);
    // A reader of the log that goes away must not end the job.
    std::signal(SIGPIPE, SIG_IGN);
}

// Builds the converter record from a stored profile or the explicit settings.
bool BuildRecord(const ConvertOptions& o, ProfileRecord& record, std::string& error) {
    std::memset(&record, 0, sizeof record);
    CAudioFormatCatalog catalog;
    catalog.Enumerate();
    if (!o.profileName.empty()) {
        const std::string path =
            o.profilesFile.empty() ? ResolveProfilePath(ProgramDir()) : o.profilesFile;
        ProfileRecord stored;
        if (!FindProfileInFile(path, o.profileName, stored, error)) return false;
        record = ConverterRecordFromProfile(stored, catalog);
        return true;
    }
    record.width = o.width;
    record.height = o.height;
    record.videoKbps = o.videoKbps;
    record.framesPerSecond = o.framesPerSecond;
    record.stereo = o.channels == 2 ? 1 : 0;
    if (o.audioCodecIndex) {
        record.audioCodecIndex = *o.audioCodecIndex;
        record.audioFormatIndex = *o.audioFormatIndex;
        record.sampleRate = static_cast<int32_t>(o.sampleRate);
        record.audioBitrate = static_cast<int32_t>(o.audioBitrate);
        return true;
    }
    const AudioFormatPick pick = PickAudioFormat(catalog, o.channels, o.sampleRate, o.audioBitrate);
    if (pick.status != kAudioQueryOk) {
        error = "the Windows Media runtime offers no audio format for " +
                std::to_string(o.channels) + " channel(s)";
        return false;
    }
    if (pick.sampleRate != o.sampleRate || pick.bitrate != o.audioBitrate) {
        std::fprintf(
            stderr,
            "zev-convert: audio %u Hz at %u bit/s is not offered; using %u Hz at %u bit/s\n",
            o.sampleRate, o.audioBitrate, pick.sampleRate, pick.bitrate);
    }
    record.audioCodecIndex = static_cast<int32_t>(pick.codecIndex);
    record.audioFormatIndex = static_cast<int32_t>(pick.formatIndex);
    record.sampleRate = static_cast<int32_t>(pick.sampleRate);
    record.audioBitrate = static_cast<int32_t>(pick.bitrate);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // From the start: a stop during the checks and the probe ends the
    // program before any job, one during the job's start-up waits for it.
    CatchStopSignals();
    ConvertOptions o;
    std::string error;
    if (!ParseOptions(argc, argv, o, error)) {
        std::fprintf(stderr, "zev-convert: %s\nTry 'zev-convert --help'.\n", error.c_str());
        return kExitUsage;
    }
    if (o.help) {
        std::fputs(UsageText("zev-convert").c_str(), stdout);
        return kExitDone;
    }
    // Loads while the paths, the probe and the profile are checked.
    const CMediaWarmUp warmUp;

    // The converters and the runtime write trace lines to standard output; keep our own lines
    // apart from them.
    std::fflush(stdout);
    FILE* log = fdopen(dup(STDOUT_FILENO), "w");
    if (!log) return Fail(kExitAborted, "cannot write to standard output");
    const int sink = o.trace ? dup(STDERR_FILENO) : open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (sink >= 0) {
        dup2(sink, STDOUT_FILENO);
        close(sink);
    }
    // Only what is asked for is formatted at all; it never holds up the job.
    SetTraceEnabled(o.trace);

    JobRequest request;
    request.source = o.source;
    request.destination = o.destination;
    request.beginSeconds = o.beginSeconds.value_or(0);
    request.endSeconds = o.endSeconds;
    request.profile = [&o](ProfileRecord& record, std::string& why) {
        return BuildRecord(o, record, why);
    };
    if (!o.library.empty()) {
        request.primaryLibrary = o.library;
        request.fallbackLibrary.clear();
    }
    JobOutcome outcome;
    {
        ConsoleJob job(log, stderr, !o.quiet, o.ignoreFreeSpace, g_stopRequest);
        outcome = job.Run(request);
    }
    std::fclose(log);
    switch (outcome) {
        case JobOutcome::Completed:
            return kExitDone;
        case JobOutcome::Stopped:
            return kExitStopped;
        case JobOutcome::Refused:
            return kExitUsage;
        case JobOutcome::Aborted:
            break;
    }
    return kExitAborted;
}
