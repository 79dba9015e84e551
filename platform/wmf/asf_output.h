// The output file: libavformat's ASF muxer streaming into a temporary file
// beside the destination (see OutputFile). Packets go to disk as they come,
// so memory does not grow with the length of the file; the muxer rewrites
// the header at the end by seeking back, and Close renames the finished
// file over the destination.
//
// The header carries a padding object, room for the tag that the metadata
// editor adds to the finished file: it writes the header in place then,
// instead of copying the whole file to make the header longer. The muxer
// knows nothing of it (see OutputFile's gap).
//
// Interleaving is done here, not by the muxer: packets go out in time
// order across streams (the ASF muxer requires that), held back only while
// a stream may still deliver something older. A stream that lags two
// seconds of the others' time and has delivered nothing for a second is
// not waited for (a video-only source has an audio stream that never
// delivers; audio may end early); a packet of it that then arrives older
// than what was written is dropped. So memory stays bounded however long
// the file, while a stream that is merely slower is still waited for.
//
// Threads: Write may be called from several threads at once (it takes the
// muxer lock); Open and Close from one thread while no Write runs.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wmf/output_file.h"
#include "platform/wmf/packet_sink.h"

namespace wmf {

class AsfOutput final : public PacketSink {
public:
    AsfOutput() = default;
    ~AsfOutput() override;

    // Creates the temporary file with one stream per encoder (in order)
    // and writes the header; each stream's bit rate is its encoder's.
    // NS_E_FILE_NOT_FOUND for a missing folder, NS_E_FILE_WRITE or
    // E_ACCESSDENIED for an unwritable place or a destination that is not a
    // regular file, NS_E_DISK_FULL; no file is left behind and the
    // destination is untouched.
    HRESULT Open(const std::string& path, const std::vector<const AVCodecContext*>& encoders);
    HRESULT Write(int streamIndex, AVPacket* packet, AVRational timeBase) override;
    // Writes out the file's buffer. Packets held for interleaving stay held:
    // encoders may still be finishing older ones.
    HRESULT FlushFile();
    // Writes the trailer, forces the file to disk and renames it over the
    // destination. The first failure of any write so far, or of this step,
    // is the result; on failure the temporary file is removed and the
    // destination keeps what it held before.
    HRESULT Close();

private:
    struct Held {
        PacketPtr packet;
        int64_t atUs;
    };
    HRESULT Failure(int averror);
    // Puts the padding object after the header the muxer wrote: opens the
    // gap for it first, and then again after the muxer rewrote the header.
    HRESULT PadHeader();
    // Writes held packets in time order; all of them when `everything`,
    // else as long as no stream that may still deliver is empty.
    int WriteHeld(bool everything);

    std::mutex m_lock;
    OutputFile m_file;
    OutputContextPtr m_context;
    HRESULT m_error = S_OK;                // sticky: the first failure of the file
    uint64_t m_headerBytes = 0;            // the muxer's header, without the padding
    std::vector<std::deque<Held>> m_held;  // per stream, in arrival order
    std::vector<int64_t> m_lastUs;         // per stream: time of its last packet
    std::vector<int64_t> m_lastWallUs;     // per stream: when it last delivered
    int64_t m_firstUs = AV_NOPTS_VALUE;    // time of the file's first packet
    int64_t m_newestUs = AV_NOPTS_VALUE;   // latest packet time of any stream
    int64_t m_writtenUs = AV_NOPTS_VALUE;  // time of the last packet written
};

// A libavformat/libc error as a runtime result.
HRESULT ResultFromAvError(int averror);

}  // namespace wmf
