// The output file: libavformat's ASF muxer over one file.
//
// Threads: Write may be called from several threads at once (it takes the
// muxer lock); Open and Close from one thread while no Write runs.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/wmf/packet_sink.h"

namespace wmf {

class AsfOutput final : public PacketSink {
public:
    AsfOutput() = default;
    ~AsfOutput() override;

    // Creates the file with one stream per encoder (in order) and writes
    // the header. NS_E_FILE_NOT_FOUND for a missing folder, NS_E_FILE_WRITE
    // for an unwritable place, NS_E_DISK_FULL; no file is left behind.
    HRESULT Open(const std::string& path, const std::vector<const AVCodecContext*>& encoders,
                 const std::vector<DWORD>& bitrates);
    HRESULT Write(int streamIndex, AVPacket* packet, AVRational timeBase) override;
    // Writes out what the muxer holds.
    HRESULT FlushFile();
    // Writes the trailer and closes the file; the first failure of any
    // write so far, or of this step, is the result.
    HRESULT Close();
    bool IsOpen() const { return static_cast<bool>(m_context); }

private:
    HRESULT Failure(int averror);

    std::mutex m_lock;
    OutputContextPtr m_context;
    HRESULT m_error = S_OK;  // sticky: the first failure of the file
};

// A libavformat/libc error as a runtime result.
HRESULT ResultFromAvError(int averror);

}  // namespace wmf
