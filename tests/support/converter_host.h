// Drives the engine as the program does: loads libtranzo9.so by path,
// resolves Convert by its exported name, and runs jobs with a host window
// that collects the log lines sent with command 57106.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "convert/common/convert_api.h"
#include "platform/dshow/dshow.h"
#include "platform/win/library.h"

class ConverterLibrary {
public:
    explicit ConverterLibrary(const char* path = TRANZO9_PATH);
    ~ConverterLibrary();
    ConverterLibrary(const ConverterLibrary&) = delete;
    ConverterLibrary& operator=(const ConverterLibrary&) = delete;
    ConvertFn convert() const { return m_convert; }
    std::string error() const { return m_error; }

private:
    HMODULE m_module = nullptr;
    ConvertFn m_convert = nullptr;
    std::string m_error;
};

// An audio format of the runtime, by its codec and format index.
struct AudioChoice {
    int codecIndex = 0;
    int formatIndex = 0;
    unsigned sampleRate = 0;
    unsigned channels = 0;
};
// The first format with this rate and channel count, else format 0 of
// codec 0, as the runtime describes them.
AudioChoice PickAudioFormat(unsigned sampleRate, unsigned channels);

ProfileStruc MakeProfile(int width, int height, double videoBitrate, int fps,
                         const AudioChoice& audio);

struct JobOptions {
    std::string source;
    std::string dest;
    ProfileStruc profile = {};
    double begin = 0;
    double end = 0;
    bool withLog = true;     // FALSE: szLog is NULL
    bool withWindow = true;  // FALSE: hWnd is NULL
    bool captureTrace = false;
    // Stop the job the caller's way (control slot, then EC_USERABORT through
    // the graph slot) from a posted message, once this line has been seen
    // and progress has reached stopAtProgress.
    std::string stopAfterLine;
    int stopAtProgress = 0;
    // Pass NULL for the source or destination path.
    bool nullSource = false;
    bool nullDest = false;
    // Called with the job's graph, on the caller's thread, when the engine
    // says it is converting (its graph built and running).
    std::function<void(IGraphBuilder*)> whileConverting;
};

struct JobResult {
    std::vector<std::string> lines;
    std::vector<int> progress;  // every distinct value seen, in order
    bool slotsNullAfter = false;
    bool logGuardIntact = false;  // nothing written past the 1024 bytes
    bool stopped = false;
    std::string trace;
    double seconds = 0;
};

JobResult RunConversion(ConvertFn convert, const JobOptions& options);
