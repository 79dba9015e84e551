// Where the stream encoders hand their packets: the writer's muxer.
#pragma once

#include "platform/wmf/ffmpeg_ptr.h"
#include "platform/win/wintypes.h"

namespace wmf {

class PacketSink {
public:
    virtual ~PacketSink() = default;
    // Takes the packet's contents (time stamps in `timeBase`); returns
    // S_OK or the failure of the file (disk full, write error).
    virtual HRESULT Write(int streamIndex, AVPacket* packet, AVRational timeBase) = 0;
};

}  // namespace wmf
