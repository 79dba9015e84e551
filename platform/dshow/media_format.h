// Formats that flow over the graph's connections, and their translation
// between GStreamer caps and the layer's media types. Internal.
//
// Frame layout on the media-type side is the packed one that the media types
// describe: RGB rows bottom first padded to 4 bytes, planar YUV planes with
// no padding. GStreamer lays frames out its own way; PackVideoFrame converts.
#pragma once

#include <gst/audio/audio.h>
#include <gst/video/video.h>

#include <vector>

#include "platform/dshow/gst_support.h"
#include "platform/media/mediatype.h"

namespace zev::dshow {

enum class StreamKind { Other, Video, Audio };

struct MediaFormat {
    StreamKind kind = StreamKind::Other;
    GstVideoFormat videoFormat = GST_VIDEO_FORMAT_UNKNOWN;
    // Upright size: a picture stored on its side counts with its sides
    // swapped, and `orientation` is the turn that sets it upright.
    int width = 0;
    int height = 0;
    GstVideoOrientationMethod orientation = GST_VIDEO_ORIENTATION_IDENTITY;
    int fpsNum = 0;
    int fpsDen = 1;
    bool bottomUp = false;  // RGB rows stored last row first
    GstAudioFormat audioFormat = GST_AUDIO_FORMAT_UNKNOWN;
    int rate = 0;
    int channels = 0;

    // Reads decoded caps; kind Other for anything that is not raw.
    static MediaFormat FromCaps(const GstCaps* caps);
    // The decoded format of what a pad carries, turned upright as its
    // stream's orientation tag (from a display matrix or a rotation tag)
    // says.
    static MediaFormat FromPad(GstPad* pad);
    // The caps a capsfilter must demand to produce this format (format and
    // size only, so that converters may fill in the rest).
    GstCaps* MakeFilterCaps() const;
};

// What a receiver that asks for `wanted` gets from a stream of `offered`
// format. Major type, subtype and format type GUID_NULL (or the None
// values) mean any. False when no converter can satisfy the request.
bool NegotiateFormat(const MediaFormat& offered, const AM_MEDIA_TYPE& wanted, MediaFormat* agreed);

// A full media type with its format block (VIDEOINFOHEADER or WAVEFORMATEX);
// the caller frees it with FreeMediaType. Other formats give major type
// MEDIATYPE_Stream and no block.
HRESULT FormatToMediaType(const MediaFormat& format, AM_MEDIA_TYPE* out);

// Bytes of one packed frame (video) or 0 for other kinds.
size_t PackedFrameBytes(const MediaFormat& format);

// Copies a mapped GStreamer frame into the packed layout; returns false when
// the frame does not match the format. `out` is resized as needed.
bool PackVideoFrame(GstBuffer* buffer, const GstVideoInfo& info, std::vector<BYTE>* out);
// True when GStreamer's layout for `info` already is the packed one.
bool IsPackedLayout(const GstVideoInfo& info);

}  // namespace zev::dshow
