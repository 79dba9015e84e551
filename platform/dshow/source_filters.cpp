#include "platform/dshow/source_filters.h"

#include "platform/dshow/discovery.h"

namespace zev::dshow {

ChainFilter::ChainFilter(std::wstring name)
    : FilterBase(std::move(name)), m_input(AddPin(PINDIR_INPUT, L"Input")) {}

Pin* ChainFilter::AddOutput(std::wstring name, const MediaFormat& offered) {
    Pin* p = AddPin(PINDIR_OUTPUT, std::move(name));
    m_offered[p] = offered;
    return p;
}

bool ChainFilter::AcceptInput(Pin*, Pin* from, const MediaFormat& offered, MediaFormat* agreed) {
    // The chain was found by reading the file; it can be rejoined, not rewired.
    if (from != m_upstream) return false;
    *agreed = offered;
    return true;
}

MediaFormat ChainFilter::OfferedFormat(const Pin* output) const {
    auto it = m_offered.find(output);
    return it == m_offered.end() ? MediaFormat{} : it->second;
}

SourceFilter::SourceFilter(std::string path, std::wstring name, gint64 durationNs, gint64 originNs)
    : FilterBase(std::move(name)),
      m_path(std::move(path)),
      m_durationNs(durationNs),
      m_originNs(originNs),
      m_output(AddPin(PINDIR_OUTPUT, L"Output")) {}

SourceFilter::~SourceFilter() = default;

void SourceFilter::KeepPreroll(std::unique_ptr<HeldPreroll> held) {
    m_held = std::move(held);
}

std::unique_ptr<HeldPreroll> SourceFilter::TakePreroll() {
    return std::move(m_held);
}

void SourceFilter::AdoptChainFilter(ChainFilter* filter) {
    filter->AddRef();
    m_chain.emplace_back(filter);
}

const StreamSlot* SourceFilter::FindSlot(const std::string& streamId, StreamKind kind,
                                         int indexOfKind) const {
    if (!streamId.empty())
        for (const auto& s : m_slots)
            if (s.streamId == streamId) return &s;
    int n = 0;
    for (const auto& s : m_slots)
        if (s.format.kind == kind && n++ == indexOfKind) return &s;
    return nullptr;
}

bool SourceFilter::SlotIsIntact(const StreamSlot& slot) const {
    for (Pin* p : slot.chainPins)
        if (!p->IsLinked() || p->Owner()->Host() != Host()) return false;
    return slot.decodedPin->Owner()->Host() == Host() && slot.decodedPin->IsLinked();
}

}  // namespace zev::dshow
