// The metadata editor: opens a finished ASF file, changes the entries of
// its Extended Content Description object and writes the header back.
//
// Safety: Open reads and checks the whole header and refuses a file it
// cannot parse (ASF_E_INVALIDHEADER), touching nothing. Flush writes the
// new header in place when it fits in the old one's size (the writer
// leaves room in a padding object): one write of a few kilobytes at the
// start of the file, the rest of it untouched. A header that does not fit
// makes Flush write a new file beside the old one and rename it over the
// old only when all of it is written, so that failing leaves the original
// as it was; a file opened through a symbolic link is replaced where the
// link points, with the old file's mode and owner. A file the process may
// not write is refused (E_ACCESSDENIED) either way. Flush keeps the file
// open (further changes and Flushes are allowed); Close forgets changes
// not flushed. Attributes belong to stream 0.
//
// Threads: one thread at a time.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/wmf/asf_header.h"
#include "platform/wmf/wmsdk.h"

namespace wmf {

class CMetadataEditor final : public IWMMetadataEditor, public IWMHeaderInfo3 {
public:
    CMetadataEditor() = default;
    virtual ~CMetadataEditor() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // IWMMetadataEditor
    HRESULT Open(const WCHAR* pwszFilename) override;
    HRESULT Close() override;
    HRESULT Flush() override;

    // IWMHeaderInfo3
    HRESULT GetAttributeCount(WORD wStreamNum, WORD* pcAttributes) override;
    HRESULT GetAttributeByName(WORD* pwStreamNum, LPCWSTR pszName, WMT_ATTR_DATATYPE* pType,
                               BYTE* pValue, WORD* pcbLength) override;
    // Replaces an entry of the same name. GUID values are not supported
    // (E_INVALIDARG); values must fit in 65535 bytes as stored.
    HRESULT AddAttribute(WORD wStreamNum, LPCWSTR pszName, WORD* pwIndex, WMT_ATTR_DATATYPE Type,
                         WORD wLangIndex, const BYTE* pValue, DWORD dwLength) override;

private:
    HRESULT WriteInPlace(const std::vector<uint8_t>& header);
    HRESULT WriteNewFile(const std::vector<uint8_t>& header, const std::string& target,
                         std::string* tempPath);

    ComRefCount m_ref;
    bool m_open = false;
    bool m_changed = false;
    std::string m_path;
    uint64_t m_fileSize = 0;
    uint64_t m_headerSize = 0;
    dev_t m_device = 0;  // the file that was parsed
    ino_t m_inode = 0;
    AsfHeader m_header;
};

}  // namespace wmf
