// tag-io-bench: the bytes one conversion job writes, now that the
// description tag goes into the room the writer leaves in the header,
// against the same job when the tag is added by writing the whole file
// anew (what every job did before the room; it is still what happens when
// a tag does not fit). Counts what the process hands to write calls
// (/proc/self/io, wchar), so the page cache and the disk do not blur it.
//
//   tag-io-bench LIBRARY SOURCE DEST.wmv END_SECONDS WIDTH HEIGHT VIDEO_BPS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "convert/common/convert_api.h"
#include "convert/common/profile_struc.h"
#include "platform/win/library.h"
#include "platform/win/trace.h"
#include "platform/win/window.h"
#include "platform/wmf/wmsdk.h"

namespace {

uint64_t BytesWritten() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "wchar:") return value;
    return 0;
}

double MiB(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Tags `path` as the engine does, with `text`; the failure, or S_OK.
HRESULT Tag(const std::wstring& path, const std::wstring& text) {
    ComPtr<IWMMetadataEditor> editor;
    HRESULT hr = WMCreateEditor(editor.Put());
    if (SUCCEEDED(hr)) hr = editor->Open(path.c_str());
    if (FAILED(hr)) return hr;
    WORD index = 0;
    hr = editor.As<IWMHeaderInfo3>()->AddAttribute(0, L"Description", &index, WMT_TYPE_STRING, 0,
                                                   reinterpret_cast<const BYTE*>(text.data()),
                                                   static_cast<DWORD>(text.size() * sizeof(WCHAR)));
    if (SUCCEEDED(hr)) hr = editor->Flush();
    editor->Close();
    return hr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: tag-io-bench LIBRARY SOURCE DEST.wmv END_SECONDS WIDTH HEIGHT "
                     "VIDEO_BPS\n");
        return 2;
    }
    // Trace lines would count as written bytes.
    SetTraceEnabled(false);
    HMODULE library = LoadLibraryA(argv[1]);
    auto convert =
        library ? reinterpret_cast<ConvertFn>(GetProcAddress(library, kConvertSymbol)) : nullptr;
    if (!convert) {
        std::fprintf(stderr, "tag-io-bench: cannot bind %s\n", argv[1]);
        return 1;
    }
    std::string lastLine;
    char log[kLogBufferSize] = {};
    HWND window = CreateHostWindow([&](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
        if (msg == WM_COMMAND && LOWORD(w) == kCmdFlushLog) lastLine = log;
        return 0;
    });
    ProfileStruc profile{};
    profile.width = std::atoi(argv[5]);
    profile.height = std::atoi(argv[6]);
    profile.videoBitrate = std::atof(argv[7]);
    profile.framesPerSecond = 25;
    profile.stereo = 1;
    IGraphBuilder* graph = nullptr;
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    int progress = 0;

    const uint64_t beforeJob = BytesWritten();
    convert(argv[2], argv[3], &profile, log, window, &graph, &control, &seeking, 0,
            std::atof(argv[4]), &progress);
    const uint64_t job = BytesWritten() - beforeJob;
    DestroyWindow(window);
    struct stat st {};
    if (stat(argv[3], &st) != 0) {
        std::fprintf(stderr, "tag-io-bench: no output; the job's last line: %s", lastLine.c_str());
        return 1;
    }
    const auto output = static_cast<uint64_t>(st.st_size);

    // The tag again, once in place and once too long for the room: what
    // tagging costs each way on this very file.
    const std::string destUtf8(argv[3]);
    const std::wstring dest(destUtf8.begin(), destUtf8.end());
    const std::wstring text = L"Converted use ZEV from https://clipwright.example.org";
    uint64_t at = BytesWritten();
    auto started = std::chrono::steady_clock::now();
    if (FAILED(Tag(dest, text))) return 1;
    const uint64_t inPlace = BytesWritten() - at;
    const double inPlaceMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    at = BytesWritten();
    started = std::chrono::steady_clock::now();
    if (FAILED(Tag(dest, std::wstring(8000, L'x')))) return 1;
    const uint64_t copied = BytesWritten() - at;
    const double copiedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();

    std::printf("output file                          %10.1f MiB\n", MiB(output));
    std::printf("tag written in place                 %10.1f KiB  %8.1f ms\n", inPlace / 1024.0,
                inPlaceMs);
    std::printf("tag written by copying the file      %10.1f MiB  %8.1f ms\n", MiB(copied),
                copiedMs);
    std::printf("bytes written per job, before        %10.1f MiB  (%.2f x the output)\n",
                MiB(job - inPlace + copied), static_cast<double>(job - inPlace + copied) / output);
    std::printf("bytes written per job, now           %10.1f MiB  (%.2f x the output)\n", MiB(job),
                static_cast<double>(job) / output);
    FreeLibrary(library);
    return 0;
}
