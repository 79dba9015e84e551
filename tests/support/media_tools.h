// The test kit's base: temporary folders, files, shell commands, and media
// made and read back with the command-line tools (ffmpeg makes the sources,
// ffprobe and gst-discoverer-1.0 read the results).
#pragma once

#include <string>
#include <vector>

#include "json_lite.h"

// The folder test files go under: $TMPDIR when set, else /tmp.
std::string TempBase();
// mkdtemp under TempBase() with this name prefix; "" when it fails.
std::string MakeTempFolder(const std::string& prefix);
// mkstemp under TempBase(); the open descriptor, -1 when it fails. `path`
// receives the file's name.
int MakeTempFile(const std::string& prefix, std::string& path);

// A fresh folder under TempBase(), removed with its contents when the
// object goes, unless ZEV_TEST_KEEP is set (to look at a failing test's
// files).
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A file system of `bytes` (a tmpfs) mounted on a new folder `name` in
// `parent` for the object's life, to fill a disk without filling the
// machine's. Mounting needs root, as in CI; elsewhere Mounted() is false and
// Why() says why, for the test to skip with.
class SmallDisk {
public:
    SmallDisk(const std::string& parent, const std::string& name, unsigned long long bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return m_mounted; }
    const std::string& Why() const { return m_why; }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    std::string m_why;
    bool m_mounted = false;
};

// UTF-8 to wide text, as the platform layers take paths; a stray byte
// stays itself.
std::wstring Wide(const std::string& utf8);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Runs a shell command; returns its exit status and standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
std::string ShellQuote(const std::string& s);

// Counts of this process's threads and open descriptors.
int ThreadCount();
int OpenFdCount();

struct ClipSpec {
    double seconds = 4;
    int width = 320;
    int height = 240;
    int fps = 25;
    bool video = true;
    bool audio = true;
    // ffmpeg's container and codec arguments, e.g. "-c:v mpeg4 -c:a aac".
    std::string codecs = "-c:v mpeg4 -q:v 5 -c:a aac";
    int frames = 0;  // when set, exactly this many video frames
};

// Generates a test-pattern clip with a tone; true on success.
bool MakeClip(const std::string& path, const ClipSpec& spec);
// Generates a clip from ffmpeg lavfi source descriptions, `video` and
// `audio` (empty: none), with ffmpeg's container and codec arguments
// `codecs`, which may name further inputs (e.g. a subtitle file); true on
// success.
bool MakeLavfiClip(const std::string& path, const std::string& video, const std::string& audio,
                   const std::string& codecs);

// ffprobe's -show_format -show_streams answer; null when it cannot read.
JsonValue Probe(const std::string& path);
// The same with every frame decoded and counted (nb_read_frames).
JsonValue ProbeCountingFrames(const std::string& path);
// The first stream of the given codec_type ("video", "audio") in a probe.
const JsonValue& StreamOf(const JsonValue& probe, const std::string& type);
// gst-discoverer-1.0's report, empty when it fails; with `status`, the
// report whatever it says and the tool's exit status in *status.
std::string Discover(const std::string& path, int* status = nullptr);

// PSNR (dB) of the frame of `a` at `aSeconds` against the frame of `b` at
// `bSeconds`, both scaled to width x height; negative when it cannot tell.
double FramePsnr(const std::string& a, double aSeconds, const std::string& b, double bSeconds,
                 int width, int height);

// Frames of the first video stream as decoded by ffprobe; -1 on failure.
int CountVideoFrames(const std::string& path);

// A black clip with a one-frame white flash at each of `flashes` (seconds,
// on the frame grid) and a 1 kHz beep of 50 ms starting at the same times
// on silence, that sound track followed by `silentTracks` more of silence;
// `codecs` are ffmpeg's container and codec arguments. True on success.
bool MakeFlashBeepClip(const std::string& path, double seconds, int fps,
                       const std::vector<double>& flashes, const std::string& codecs,
                       int silentTracks = 0);
// Copies `source` to `dest` with a display matrix that tells players to
// turn the picture `clockwiseDegrees` (90, 180, 270) before showing it, as
// a phone held upright writes it. True on success.
bool SetDisplayRotation(const std::string& source, const std::string& dest, int clockwiseDegrees);
// Mean luma (0 to 255) of the region `crop` (ffmpeg's crop arguments, such as
// "iw:ih/2:0:0" for the upper half) of the picture at `seconds`, as a
// player that honours the file's rotation shows it; negative on failure.
double RegionLuma(const std::string& path, double seconds, const std::string& crop);
// Times (seconds, as the file stamps them) of the bright frames of the
// first video stream, and of the starts of sound after silence in the first
// audio stream; empty when the file cannot be read.
std::vector<double> FlashTimes(const std::string& path);
std::vector<double> BeepOnsets(const std::string& path);
// Time of the first decoded video frame; NaN when there is none.
double FirstVideoFrameTime(const std::string& path);
