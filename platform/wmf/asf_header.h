// The header of an ASF file as the metadata editor needs it: the list of
// header objects, with the Extended Content Description object's entries
// parsed so they can be changed and the header written anew. Padding
// objects are room left in the header for such changes: the editor takes
// them out when it reads a header and puts what room is left back when it
// writes one in place.
//
// Pure data; no file access. Every length read from the file is checked
// against what is there, so a damaged header is refused, never overrun.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wmf {

// Value types of Extended Content Description entries, as stored.
enum class AsfValueType : uint16_t {
    Unicode = 0,
    Bytes = 1,
    Bool = 2,
    Dword = 3,
    Qword = 4,
    Word = 5
};

struct AsfDescriptor {
    std::wstring name;
    AsfValueType type = AsfValueType::Unicode;
    std::vector<uint8_t> value;  // as stored (UTF-16LE with NUL for text)
};

class AsfHeader {
public:
    // Bytes the parser needs to learn the header's size.
    static constexpr size_t kPrefixBytes = 30;
    // Size of the header object from its first kPrefixBytes, or 0 when
    // they are not an ASF header object.
    static uint64_t HeaderSize(const uint8_t* prefix);

    // Parses `header` (the whole header object) followed by the first
    // 24 bytes of the next object, which must be the data object, in a file
    // of `fileSize` bytes. False when anything does not fit.
    bool Parse(const std::vector<uint8_t>& header, const uint8_t* dataObjectHead,
               uint64_t fileSize);

    std::vector<AsfDescriptor>& Descriptors() { return m_descriptors; }
    const std::vector<AsfDescriptor>& Descriptors() const { return m_descriptors; }

    // The header object with the current descriptors; its file properties
    // give the size of the file it heads: this header plus `restBytes`.
    // With `fillTo`, a header that is smaller is filled up to exactly
    // `fillTo` bytes with a padding object where one fits; the caller
    // checks the size it got.
    std::vector<uint8_t> Serialize(uint64_t restBytes, uint64_t fillTo = 0) const;

    // Appends a padding object of `paddingBytes` (at least kObjectHeadBytes)
    // to the whole header object `header`, as a muxer wrote it: the
    // header's size and object count and the file size in its file
    // properties grow to match. False, `header` unchanged, when it is not a
    // whole header object with file properties.
    static bool AppendPadding(std::vector<uint8_t>& header, uint64_t paddingBytes);
    // The size of an object's head (GUID and size): the smallest object.
    static constexpr size_t kObjectHeadBytes = 24;

private:
    struct Object {
        uint8_t guid[16];
        std::vector<uint8_t> bytes;  // whole object, its 24-byte head included
    };
    bool ParseDescriptors(const std::vector<uint8_t>& ecd);

    uint8_t m_reserved[2] = {};
    std::vector<Object> m_objects;     // the descriptor object is kept apart
    int m_descriptorObjectIndex = -1;  // where it stood, or -1: append it
    std::vector<AsfDescriptor> m_descriptors;
};

}  // namespace wmf
