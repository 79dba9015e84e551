// Helpers for the runtime's tests: media made in memory, media types with
// their own format blocks, a temporary folder, and the outside readers
// (ffprobe's JSON, gst-discoverer-1.0) that check what the writer wrote.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/wmf/wmsdk.h"

namespace wmftest {

// A media type that owns its format block (copies keep their own block).
struct OwnedType {
    AM_MEDIA_TYPE mt{};
    std::vector<BYTE> block;
    OwnedType() = default;
    OwnedType(const OwnedType& o) : mt(o.mt), block(o.block) { Bind(); }
    OwnedType& operator=(const OwnedType& o) {
        mt = o.mt;
        block = o.block;
        Bind();
        return *this;
    }
    void Bind() {
        mt.pbFormat = block.empty() ? nullptr : block.data();
        mt.cbFormat = static_cast<ULONG>(block.size());
    }
    VIDEOINFOHEADER* Video() { return VideoInfoOf(mt); }
    WAVEFORMATEX* Wave() { return WaveFormatOf(mt); }
};

OwnedType RawVideoType(const GUID& subtype, LONG width, LONG height, WORD bitCount = 0);
OwnedType PcmType(WORD channels, DWORD rate, WORD bits, bool isFloat = false);
OwnedType MediaTypeOf(IWMMediaProps* props);

// One frame of a moving test pattern in the layout of `subtype`.
std::vector<BYTE> MakeFrame(const GUID& subtype, LONG width, LONG height, int index);
// A sine tone, interleaved, in the given sample format.
std::vector<BYTE> MakeTone(WORD channels, DWORD rate, WORD bits, bool isFloat, size_t samples,
                           size_t firstSample);

// Removed with its contents at the end, unless WMF_TEST_KEEP is set (to
// look at the files of a failing test).
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::wstring Wide(const std::string& s);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Runs a shell command; returns its standard output, *status its exit code.
std::string Run(const std::string& command, int* status = nullptr);

// A parsed JSON value: enough of JSON for ffprobe's output.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t index) const;
    // Numbers given as strings ("25/1" excepted) read as numbers too.
    double Num() const;
    static Json Parse(const std::string& text);
};

// ffprobe -show_format -show_streams -count_frames of the file.
Json Probe(const std::string& path);
// gst-discoverer-1.0 -v output; *status is its exit code.
std::string Discover(const std::string& path, int* status);

// The engines' way of making a profile: system profile 0 of version 8, with
// audio format (codec, format) as stream 1 and format 2 of the V8 video
// codec, resized and re-rated, as stream 2.
ComPtr<IWMProfile> MakeJobProfile(DWORD audioCodec, DWORD audioFormat, LONG width, LONG height,
                                  int fps, DWORD videoBitrate);

}  // namespace wmftest
