// The filters that stand for a file's reading chain: the source, the
// splitter (demuxer) and one decoder per stream. They carry no pipeline of
// their own; a run replays the whole chain with decodebin and routes each
// decoded stream to whatever its decoded pin is connected to. Internal.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/dshow/filter_base.h"

namespace zev::dshow {

struct HeldPreroll;

// One decoded stream of a source and the pins it passes through.
struct StreamSlot {
    std::string streamId;
    MediaFormat format;
    Pin* decodedPin = nullptr;    // the pin a renderer or grabber connects to
    std::vector<Pin*> chainPins;  // output pins between source and decodedPin
};

// A splitter or decoder: one input, outputs fixed when the file was read.
class ChainFilter final : public FilterBase {
public:
    explicit ChainFilter(std::wstring name);
    Pin* Input() const { return m_input; }
    Pin* AddOutput(std::wstring name, const MediaFormat& offered);
    // The output pin that feeds this filter's input, fixed at build time.
    void SetUpstream(Pin* upstream) { m_upstream = upstream; }

    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    MediaFormat OfferedFormat(const Pin* output) const override;
    bool IsSourceChain() const override { return true; }

private:
    Pin* m_input;
    Pin* m_upstream = nullptr;
    std::map<const Pin*, MediaFormat> m_offered;
};

class SourceFilter final : public FilterBase {
public:
    SourceFilter(std::string path, std::wstring name, gint64 durationNs, gint64 originNs);
    ~SourceFilter() override;
    const std::string& Path() const { return m_path; }
    gint64 DurationNs() const { return m_durationNs; }
    gint64 OriginNs() const { return m_originNs; }
    Pin* Output() const { return m_output; }
    // Keeps the chain filters alive as long as the source refers to them.
    void AdoptChainFilter(ChainFilter* filter);
    void AddSlot(StreamSlot slot) { m_slots.push_back(std::move(slot)); }
    const std::vector<StreamSlot>& Slots() const { return m_slots; }
    // The slot of a replayed stream: by stream id, else the n-th stream of
    // the same kind. nullptr when the stream is unknown.
    const StreamSlot* FindSlot(const std::string& streamId, StreamKind kind, int indexOfKind) const;
    // True when every pin from the source to the stream's receiver is
    // still connected and the chain is still in the graph.
    bool SlotIsIntact(const StreamSlot& slot) const;
    // The discovery's prerolled pipeline, for the first run to take over;
    // null once taken.
    void KeepPreroll(std::unique_ptr<HeldPreroll> held);
    std::unique_ptr<HeldPreroll> TakePreroll();

    bool AcceptInput(Pin*, Pin*, const MediaFormat&, MediaFormat*) override { return false; }
    bool IsSourceChain() const override { return true; }

private:
    std::string m_path;
    gint64 m_durationNs;
    gint64 m_originNs;
    Pin* m_output;
    std::vector<ComPtr<IBaseFilter>> m_chain;
    std::vector<StreamSlot> m_slots;
    std::unique_ptr<HeldPreroll> m_held;
};

}  // namespace zev::dshow
