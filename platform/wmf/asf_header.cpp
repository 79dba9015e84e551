#include "platform/wmf/asf_header.h"

#include <cstring>

#include "platform/wmf/wide_text.h"

namespace wmf {
namespace {

using Guid = uint8_t[16];
constexpr Guid kHeaderGuid = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kDataGuid = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                            0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kFilePropertiesGuid = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                      0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kExtendedContentGuid = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                       0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr Guid kPaddingGuid = {0x74, 0xD4, 0x06, 0x18, 0xDF, 0xCA, 0x09, 0x45,
                               0xA4, 0xBA, 0x9A, 0xAB, 0xCB, 0x96, 0xAA, 0xE8};
constexpr size_t kObjectHeadBytes = AsfHeader::kObjectHeadBytes;
constexpr size_t kObjectCountOffset = 24;  // within the header object
constexpr size_t kFilePropertiesMinBytes = 104;
constexpr size_t kFileSizeOffset = 40;  // within the file properties object
constexpr size_t kDataObjectMinBytes = 50;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16);
}
uint64_t Get64(const uint8_t* p) {
    return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, static_cast<uint16_t>(x));
    Put16(v, static_cast<uint16_t>(x >> 16));
}
void Put64(std::vector<uint8_t>& v, uint64_t x) {
    Put32(v, static_cast<uint32_t>(x));
    Put32(v, static_cast<uint32_t>(x >> 32));
}
void Set64(uint8_t* p, uint64_t x) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(x >> (8 * i));
}
void Set32(uint8_t* p, uint32_t x) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(x >> (8 * i));
}

void PutPadding(std::vector<uint8_t>& v, uint64_t bytes) {
    v.insert(v.end(), kPaddingGuid, kPaddingGuid + 16);
    Put64(v, bytes);
    v.resize(v.size() + (bytes - kObjectHeadBytes), 0);
}

bool SameGuid(const uint8_t* a, const Guid& b) {
    return std::memcmp(a, b, 16) == 0;
}

}  // namespace

uint64_t AsfHeader::HeaderSize(const uint8_t* prefix) {
    if (!SameGuid(prefix, kHeaderGuid)) return 0;
    const uint64_t size = Get64(prefix + 16);
    return size >= kPrefixBytes ? size : 0;
}

bool AsfHeader::Parse(const std::vector<uint8_t>& header, const uint8_t* dataObjectHead,
                      uint64_t fileSize) {
    if (header.size() < kPrefixBytes || HeaderSize(header.data()) != header.size()) return false;
    if (!SameGuid(dataObjectHead, kDataGuid)) return false;
    const uint64_t dataSize = Get64(dataObjectHead + 16);
    if (dataSize < kDataObjectMinBytes || dataSize > fileSize - header.size()) return false;

    const uint32_t count = Get32(header.data() + 24);
    std::memcpy(m_reserved, header.data() + 28, 2);
    m_objects.clear();
    m_descriptors.clear();
    m_descriptorObjectIndex = -1;
    bool haveFileProperties = false;
    size_t at = kPrefixBytes;
    for (uint32_t i = 0; i < count; ++i) {
        if (header.size() - at < kObjectHeadBytes) return false;
        const uint64_t size = Get64(header.data() + at + 16);
        if (size < kObjectHeadBytes || size > header.size() - at) return false;
        Object obj;
        std::memcpy(obj.guid, header.data() + at, 16);
        obj.bytes.assign(header.begin() + at, header.begin() + at + size);
        at += size;
        // Room for the editor; what is left of it is put back on writing.
        if (SameGuid(obj.guid, kPaddingGuid)) continue;
        if (SameGuid(obj.guid, kExtendedContentGuid)) {
            if (m_descriptorObjectIndex >= 0 || !ParseDescriptors(obj.bytes)) return false;
            m_descriptorObjectIndex = static_cast<int>(m_objects.size());
            continue;
        }
        if (SameGuid(obj.guid, kFilePropertiesGuid)) {
            if (size < kFilePropertiesMinBytes) return false;
            haveFileProperties = true;
        }
        m_objects.push_back(std::move(obj));
    }
    return at == header.size() && haveFileProperties;
}

bool AsfHeader::ParseDescriptors(const std::vector<uint8_t>& ecd) {
    const uint8_t* p = ecd.data() + kObjectHeadBytes;
    const uint8_t* end = ecd.data() + ecd.size();
    if (end - p < 2) return false;
    const uint16_t count = Get16(p);
    p += 2;
    for (uint16_t i = 0; i < count; ++i) {
        if (end - p < 2) return false;
        const uint16_t nameBytes = Get16(p);
        p += 2;
        if (end - p < nameBytes + 4) return false;
        AsfDescriptor d;
        d.name = FromUtf16Le(p, nameBytes);
        p += nameBytes;
        const uint16_t type = Get16(p);
        const uint16_t valueBytes = Get16(p + 2);
        p += 4;
        if (type > static_cast<uint16_t>(AsfValueType::Word) || end - p < valueBytes) return false;
        d.type = static_cast<AsfValueType>(type);
        d.value.assign(p, p + valueBytes);
        p += valueBytes;
        m_descriptors.push_back(std::move(d));
    }
    return p == end;
}

std::vector<uint8_t> AsfHeader::Serialize(uint64_t restBytes, uint64_t fillTo) const {
    std::vector<uint8_t> ecd;
    if (!m_descriptors.empty()) {
        ecd.insert(ecd.end(), kExtendedContentGuid, kExtendedContentGuid + 16);
        Put64(ecd, 0);  // size, set below
        Put16(ecd, static_cast<uint16_t>(m_descriptors.size()));
        for (const AsfDescriptor& d : m_descriptors) {
            const std::vector<uint8_t> name = ToUtf16Le(d.name);
            Put16(ecd, static_cast<uint16_t>(name.size()));
            ecd.insert(ecd.end(), name.begin(), name.end());
            Put16(ecd, static_cast<uint16_t>(d.type));
            Put16(ecd, static_cast<uint16_t>(d.value.size()));
            ecd.insert(ecd.end(), d.value.begin(), d.value.end());
        }
        Set64(ecd.data() + 16, ecd.size());
    }
    std::vector<uint8_t> out(kHeaderGuid, kHeaderGuid + 16);
    Put64(out, 0);  // size, set below
    const size_t countAt = out.size();
    Put32(out, static_cast<uint32_t>(m_objects.size() + (ecd.empty() ? 0 : 1)));
    out.insert(out.end(), m_reserved, m_reserved + 2);
    size_t filePropertiesAt = 0;
    for (size_t i = 0; i <= m_objects.size(); ++i) {
        const bool ecdHere = m_descriptorObjectIndex >= 0
                                 ? static_cast<size_t>(m_descriptorObjectIndex) == i
                                 : i == m_objects.size();
        if (ecdHere) out.insert(out.end(), ecd.begin(), ecd.end());
        if (i == m_objects.size()) break;
        if (SameGuid(m_objects[i].guid, kFilePropertiesGuid)) filePropertiesAt = out.size();
        out.insert(out.end(), m_objects[i].bytes.begin(), m_objects[i].bytes.end());
    }
    if (fillTo >= out.size() + kObjectHeadBytes) {
        PutPadding(out, fillTo - out.size());
        Set32(out.data() + countAt, Get32(out.data() + countAt) + 1);
    }
    Set64(out.data() + 16, out.size());
    Set64(out.data() + filePropertiesAt + kFileSizeOffset, out.size() + restBytes);
    return out;
}

bool AsfHeader::AppendPadding(std::vector<uint8_t>& header, uint64_t paddingBytes) {
    if (paddingBytes < kObjectHeadBytes || header.size() < kPrefixBytes ||
        HeaderSize(header.data()) != header.size())
        return false;
    const uint32_t count = Get32(header.data() + kObjectCountOffset);
    size_t filePropertiesAt = 0;
    size_t at = kPrefixBytes;
    for (uint32_t i = 0; i < count; ++i) {
        if (header.size() - at < kObjectHeadBytes) return false;
        const uint64_t size = Get64(header.data() + at + 16);
        if (size < kObjectHeadBytes || size > header.size() - at) return false;
        if (SameGuid(header.data() + at, kFilePropertiesGuid) && size >= kFilePropertiesMinBytes)
            filePropertiesAt = at;
        at += size;
    }
    if (at != header.size() || filePropertiesAt == 0 || count == UINT32_MAX) return false;
    uint8_t* fileSize = header.data() + filePropertiesAt + kFileSizeOffset;
    Set64(fileSize, Get64(fileSize) + paddingBytes);
    Set32(header.data() + kObjectCountOffset, count + 1);
    PutPadding(header, paddingBytes);
    Set64(header.data() + 16, header.size());
    return true;
}

}  // namespace wmf
