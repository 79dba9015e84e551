// Finds out what a file holds by prerolling it once: its demuxer, each
// stream's decoder and decoded format, and the duration. Internal.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/media_format.h"
#include "platform/dshow/stream_threads.h"

namespace zev::dshow {

struct DiscoveredStream {
    std::string streamId;     // identifies the stream again when the file is replayed
    MediaFormat format;       // decoded format
    std::string decoderName;  // empty when the demuxer already delivers raw data
};

// The prerolled pipeline of a discovery, kept so that the file's first run
// can take it over instead of typefinding, plugging and prerolling the file
// a second time. Its decoded pads end in placeholder sinks, in the order
// decodebin added them. Releasing it sets the pipeline to NULL.
struct HeldPreroll {
    ElementRef pipeline;
    std::shared_ptr<StreamThreads> threads;  // its streaming threads
    std::vector<PadRef> pads;
    std::vector<ElementRef> sinks;  // one per pad
    // The file as it was discovered; a run of a file that has since gone or
    // changed must read the path anew, not the open descriptor.
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool StillDescribes(const std::string& path) const;
    HeldPreroll() = default;
    HeldPreroll(const HeldPreroll&) = delete;
    HeldPreroll& operator=(const HeldPreroll&) = delete;
    ~HeldPreroll();
};

struct Discovery {
    std::string demuxerName;  // empty for files without a container
    std::vector<DiscoveredStream> streams;
    int unrenderable = 0;  // streams that no installed plugin decodes
    // -1 when neither GStreamer nor the container's own reader can tell.
    gint64 durationNs = -1;
    // Stream time of the earliest first buffer. Containers such as MPEG
    // system streams start their clocks above zero; positions and sample
    // times count from here, so that every file starts at 0.
    gint64 originNs = 0;
    // Set on success; null when the file could not be discovered.
    std::unique_ptr<HeldPreroll> held;
};

// Owning thread; blocks until the file has prerolled or failed. S_OK with
// at least one stream, or a failure code: HRESULT_FROM_WIN32 of
// ERROR_FILE_NOT_FOUND for a missing path, VFW_E_UNKNOWN_FILE_TYPE for
// something that is not a media file, VFW_E_UNSUPPORTED_STREAM when no
// stream can be decoded, VFW_E_INVALID_FILE_FORMAT for a damaged file.
HRESULT DiscoverFile(const std::string& path, Discovery* out);

// Pipeline elements of decodebin's chain behind a decoded pad.
struct ChainNames {
    std::string demuxer;
    std::string decoder;
};
ChainNames NamesBehindPad(GstPad* decodedPad);

}  // namespace zev::dshow
