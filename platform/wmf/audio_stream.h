// One audio stream of the writer: resamples PCM input to the stream's
// rate and channels (swresample), cuts it into the encoder's frames and
// encodes them. Time stamps: the stream starts at its first sample's time
// and runs on by the number of samples, so gaps and jitter in the input
// times do not break the audio. Packets carry the encoder's stamps, which
// lead their samples by its priming (negative for the first packets), so
// that what a decoder plays sounds at the samples' own times.
//
// Threads: not thread-safe; the writer serialises calls per stream.
#pragma once

#include "platform/wmf/encoder_open.h"
#include "platform/wmf/packet_sink.h"
#include "platform/wmf/raw_formats.h"

namespace wmf {

class AudioStream : public SinkEncoder {
public:
    AudioStream(CodecContextPtr encoder, PacketSink& sink, int streamIndex);

    // Sets the format of the samples to come; samples still in the old
    // resampler are pushed through first.
    HRESULT SetInput(const RawAudioLayout& layout);
    // Whole samples of `data` are used; a trailing partial one is ignored.
    HRESULT Write(const uint8_t* data, size_t bytes, int64_t time100ns);
    // Pads the last frame with silence and drains the encoder.
    HRESULT Finish();

private:
    HRESULT Resample(const uint8_t* const* in, int inSamples);
    HRESULT EncodeFromFifo(bool padLast);

    RawAudioLayout m_layout;
    SwrPtr m_resampler;
    AudioFifoPtr m_fifo;
    FramePtr m_frame;
    int64_t m_nextPts = AV_NOPTS_VALUE;  // in samples of the output rate
    bool m_finished = false;
};

}  // namespace wmf
