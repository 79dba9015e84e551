#include "media_tools.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string TempBase() {
    const char* base = getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}

std::string MakeTempFolder(const std::string& prefix) {
    std::string pattern = TempBase() + "/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

int MakeTempFile(const std::string& prefix, std::string& path) {
    std::string pattern = TempBase() + "/" + prefix + "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    path = fd >= 0 ? pattern : std::string();
    return fd;
}

TempDir::TempDir() : m_path(MakeTempFolder("zev-test")) {}

TempDir::~TempDir() {
    std::error_code ec;
    if (!m_path.empty() && !getenv("ZEV_TEST_KEEP")) std::filesystem::remove_all(m_path, ec);
}

SmallDisk::SmallDisk(const std::string& parent, const std::string& name, unsigned long long bytes)
    : m_path(parent + "/" + name) {
    std::error_code ec;
    std::filesystem::create_directory(m_path, ec);
    const std::string options = "size=" + std::to_string(bytes);
    if (ec) {
        m_why = "cannot make " + m_path + ": " + ec.message();
    } else if (mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) !=
               0) {
        m_why = "cannot mount a tmpfs (" + std::string(std::strerror(errno)) +
                "); this needs root, as in CI";
    } else {
        m_mounted = true;
    }
}

SmallDisk::~SmallDisk() {
    if (m_mounted) umount2(m_path.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
}

std::wstring Wide(const std::string& s) {
    std::wstring out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (n == 1 || i + n > s.size()) {
            out += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        uint32_t code = c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k)
            code = code << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += static_cast<wchar_t>(code);
        i += n;
    }
    return out;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

int CountDir(const char* dir) {
    int n = 0;
    if (DIR* d = opendir(dir)) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

}  // namespace

int ThreadCount() {
    return CountDir("/proc/self/task");
}

int OpenFdCount() {
    return CountDir("/proc/self/fd") - 1;  // less the one opendir holds
}

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
    const int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool MakeClip(const std::string& path, const ClipSpec& spec) {
    std::ostringstream cmd;
    cmd << "ffmpeg -nostdin -v error -y";
    if (spec.video)
        cmd << " -f lavfi -i testsrc=size=" << spec.width << "x" << spec.height
            << ":rate=" << spec.fps << ":duration=" << spec.seconds;
    if (spec.audio)
        cmd << " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" << spec.seconds;
    if (spec.frames > 0) cmd << " -frames:v " << spec.frames;
    cmd << " " << spec.codecs;
    if (spec.audio) cmd << " -ac 2";
    cmd << " " << ShellQuote(path) << " 2>&1";
    return RunCommand(cmd.str()) == 0;
}

bool MakeLavfiClip(const std::string& path, const std::string& video, const std::string& audio,
                   const std::string& codecs) {
    std::string cmd = "ffmpeg -nostdin -v error -y";
    if (!video.empty()) cmd += " -f lavfi -i " + ShellQuote(video);
    if (!audio.empty()) cmd += " -f lavfi -i " + ShellQuote(audio);
    cmd += " " + codecs + " " + ShellQuote(path) + " 2>&1";
    return RunCommand(cmd) == 0;
}

namespace {

JsonValue ProbeWith(const std::string& options, const std::string& path) {
    std::string out;
    if (RunCommand("ffprobe -v error -print_format json " + options +
                       " -show_format -show_streams " + ShellQuote(path),
                   &out) != 0)
        return JsonValue();
    return JsonValue::Parse(out);
}

}  // namespace

JsonValue Probe(const std::string& path) {
    return ProbeWith("", path);
}

JsonValue ProbeCountingFrames(const std::string& path) {
    return ProbeWith("-count_frames", path);
}

const JsonValue& StreamOf(const JsonValue& probe, const std::string& type) {
    static const JsonValue kNull;
    const JsonValue& streams = probe["streams"];
    for (size_t i = 0; i < streams.size(); ++i)
        if (streams[i]["codec_type"].String() == type) return streams[i];
    return kNull;
}

std::string Discover(const std::string& path, int* status) {
    std::string out;
    const int rc =
        RunCommand("timeout 60 gst-discoverer-1.0 -v " + ShellQuote(path) + " 2>&1", &out);
    if (status) {
        *status = rc;
        return out;
    }
    return rc == 0 ? out : std::string();
}

double FramePsnr(const std::string& a, double aSeconds, const std::string& b, double bSeconds,
                 int width, int height) {
    std::ostringstream cmd;
    const std::string size = std::to_string(width) + ":" + std::to_string(height);
    cmd << "ffmpeg -nostdin -hide_banner -ss " << aSeconds << " -i " << ShellQuote(a) << " -ss "
        << bSeconds << " -i " << ShellQuote(b) << " -filter_complex \"[0:v]scale=" << size
        << ",format=yuv420p[x];[1:v]scale=" << size
        << ",format=yuv420p[y];[x][y]psnr\" -frames:v 1 -f null - 2>&1";
    std::string out;
    RunCommand(cmd.str(), &out);
    const size_t at = out.find("average:");
    if (at == std::string::npos) return -1;
    const std::string value = out.substr(at + 8, out.find(' ', at) - at - 8);
    if (value == "inf") return 100;
    return std::strtod(value.c_str(), nullptr);
}

int CountVideoFrames(const std::string& path) {
    std::string out;
    if (RunCommand("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                   "stream=nb_read_frames -of csv=p=0 " +
                       ShellQuote(path),
                   &out) != 0)
        return -1;
    return out.empty() ? -1 : std::atoi(out.c_str());
}

bool MakeFlashBeepClip(const std::string& path, double seconds, int fps,
                       const std::vector<double>& flashes, const std::string& codecs,
                       int silentTracks) {
    std::ostringstream flash, beep;
    for (size_t i = 0; i < flashes.size(); ++i) {
        const char* plus = i ? "+" : "";
        flash << plus << "eq(n\\," << std::lround(flashes[i] * fps) << ")";
        beep << plus << "between(t\\," << flashes[i] << "\\," << flashes[i] + 0.05 << ")";
    }
    std::ostringstream cmd;
    cmd << "ffmpeg -nostdin -v error -y -f lavfi -i \"color=black:s=320x240:r=" << fps
        << ":d=" << seconds << ",drawbox=c=white:t=fill:enable='" << flash.str()
        << "'\" -f lavfi -i \"aevalsrc='0.8*sin(2*PI*1000*t)*(" << beep.str()
        << ")':s=44100:d=" << seconds << "\"";
    if (silentTracks > 0) {
        cmd << " -f lavfi -i anullsrc=r=44100:cl=stereo -map 0:v -map 1:a";
        for (int i = 0; i < silentTracks; ++i) cmd << " -map 2:a";
        cmd << " -t " << seconds;
    }
    cmd << " -ac 2 " << codecs << " " << ShellQuote(path) << " 2>&1";
    return RunCommand(cmd.str()) == 0;
}

bool SetDisplayRotation(const std::string& source, const std::string& dest, int clockwiseDegrees) {
    // The rotate tag that ffmpeg turns into the matrix counts the other way.
    const int tag = (360 - clockwiseDegrees % 360) % 360;
    return RunCommand("ffmpeg -nostdin -v error -y -i " + ShellQuote(source) +
                      " -c copy -metadata:s:v:0 rotate=" + std::to_string(tag) + " " +
                      ShellQuote(dest) + " 2>&1") == 0;
}

double RegionLuma(const std::string& path, double seconds, const std::string& crop) {
    std::string out;
    if (RunCommand("ffmpeg -nostdin -v error -ss " + std::to_string(seconds) + " -i " +
                       ShellQuote(path) + " -frames:v 1 -vf \"crop=" + crop +
                       ",signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-\" -f null - "
                       "2>/dev/null",
                   &out) != 0)
        return -1;
    const size_t at = out.find("YAVG=");
    return at == std::string::npos ? -1 : std::strtod(out.c_str() + at + 5, nullptr);
}

namespace {
std::vector<double> NumbersAfter(const std::string& text, const std::string& key) {
    std::vector<double> values;
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
        values.push_back(std::strtod(text.c_str() + at + key.size(), nullptr));
    return values;
}
}  // namespace

std::vector<double> FlashTimes(const std::string& path) {
    // One "pts_time:" line and one "YAVG=" line per frame.
    std::string out;
    if (RunCommand("ffmpeg -nostdin -v error -copyts -i " + ShellQuote(path) +
                       " -map 0:v:0 -vf \"signalstats,metadata=print:key=lavfi.signalstats.YAVG:"
                       "file=-\" -f null - 2>/dev/null",
                   &out) != 0)
        return {};
    const std::vector<double> times = NumbersAfter(out, "pts_time:");
    const std::vector<double> luma = NumbersAfter(out, "YAVG=");
    std::vector<double> flashes;
    for (size_t i = 0; i < times.size() && i < luma.size(); ++i)
        if (luma[i] > 128) flashes.push_back(times[i]);
    return flashes;
}

std::vector<double> BeepOnsets(const std::string& path) {
    std::string out;
    if (RunCommand("ffmpeg -nostdin -hide_banner -copyts -i " + ShellQuote(path) +
                       " -map 0:a:0 -af silencedetect=noise=-26dB:d=0.02 -f null - 2>&1",
                   &out) != 0)
        return {};
    // A sound that runs to the end also ends a silence there; only a
    // silence that a later one follows marks a beep.
    std::vector<double> ends = NumbersAfter(out, "silence_end: ");
    const std::vector<double> starts = NumbersAfter(out, "silence_start: ");
    std::vector<double> onsets;
    for (double end : ends)
        for (double start : starts)
            if (start > end) {
                onsets.push_back(end);
                break;
            }
    return onsets;
}

double FirstVideoFrameTime(const std::string& path) {
    std::string out;
    if (RunCommand("ffprobe -v error -select_streams v:0 -show_entries frame=pts_time "
                   "-read_intervals %+#1 -of csv=p=0 " +
                       ShellQuote(path),
                   &out) != 0 ||
        out.empty())
        return std::nan("");
    return std::strtod(out.c_str(), nullptr);
}
