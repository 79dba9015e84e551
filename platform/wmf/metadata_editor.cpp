#include "platform/win/text.h"
#include "platform/wmf/metadata_editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/wmf/output_file.h"
#include "platform/wmf/wide_text.h"

namespace wmf {
namespace {

// Headers are small; anything bigger is not a header this editor wrote.
constexpr uint64_t kMaxHeaderBytes = 64u << 20;
constexpr size_t kCopyChunkBytes = 1u << 20;
constexpr size_t kDataObjectHeadBytes = 24;
constexpr size_t kMaxStoredValueBytes = 0xFFFF;

// A file descriptor closed on every path.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    int Release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool ReadAt(int fd, uint8_t* buf, size_t bytes, uint64_t offset) {
    while (bytes > 0) {
        const ssize_t n = pread(fd, buf, bytes, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        buf += n;
        bytes -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

HRESULT WriteAll(int fd, const uint8_t* buf, size_t bytes) {
    while (bytes > 0) {
        const ssize_t n = write(fd, buf, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ResultFromErrno(n < 0 ? errno : ENOSPC);
        buf += n;
        bytes -= static_cast<size_t>(n);
    }
    return S_OK;
}

// Stored bytes of a value given in the runtime's form.
HRESULT StoredValue(WMT_ATTR_DATATYPE type, const BYTE* value, DWORD length, AsfValueType* kind,
                    std::vector<uint8_t>* out) {
    if (!value && length) return E_POINTER;
    auto fixed = [&](AsfValueType k, DWORD size) {
        if (length != size) return E_INVALIDARG;
        *kind = k;
        out->assign(value, value + size);
        return S_OK;
    };
    switch (type) {
        case WMT_TYPE_STRING: {
            // Text up to the first NUL or the given length, whichever first.
            std::wstring text;
            const size_t chars = length / sizeof(WCHAR);
            for (size_t i = 0; i < chars; ++i) {
                WCHAR c;
                std::memcpy(&c, value + i * sizeof(WCHAR), sizeof c);
                if (c == L'\0') break;
                text += c;
            }
            *kind = AsfValueType::Unicode;
            *out = ToUtf16Le(text);
            return S_OK;
        }
        case WMT_TYPE_BINARY:
            *kind = AsfValueType::Bytes;
            out->assign(value, value + length);
            return S_OK;
        case WMT_TYPE_BOOL:
            return fixed(AsfValueType::Bool, 4);
        case WMT_TYPE_DWORD:
            return fixed(AsfValueType::Dword, 4);
        case WMT_TYPE_QWORD:
            return fixed(AsfValueType::Qword, 8);
        case WMT_TYPE_WORD:
            return fixed(AsfValueType::Word, 2);
        default:
            return E_INVALIDARG;
    }
}

}  // namespace

HRESULT CMetadataEditor::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMMetadataEditor)
        return ComAnswer<IWMMetadataEditor>(this, ppv);
    if (riid == IID_IWMHeaderInfo3) return ComAnswer<IWMHeaderInfo3>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CMetadataEditor::Open(const WCHAR* pwszFilename) {
    if (!pwszFilename) return E_POINTER;
    if (m_open) return NS_E_INVALID_REQUEST;
    const std::string path = WideToUtf8(pwszFilename);
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? NS_E_FILE_NOT_FOUND : E_ACCESSDENIED;
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return NS_E_FILE_NOT_FOUND;
    const auto fileSize = static_cast<uint64_t>(st.st_size);

    uint8_t prefix[AsfHeader::kPrefixBytes];
    if (fileSize < sizeof prefix || !ReadAt(fd.Get(), prefix, sizeof prefix, 0))
        return ASF_E_INVALIDHEADER;
    const uint64_t headerSize = AsfHeader::HeaderSize(prefix);
    if (headerSize == 0 || headerSize > kMaxHeaderBytes ||
        headerSize + kDataObjectHeadBytes > fileSize)
        return ASF_E_INVALIDHEADER;
    std::vector<uint8_t> header(headerSize);
    uint8_t dataHead[kDataObjectHeadBytes];
    if (!ReadAt(fd.Get(), header.data(), header.size(), 0) ||
        !ReadAt(fd.Get(), dataHead, sizeof dataHead, headerSize))
        return ASF_E_INVALIDHEADER;
    AsfHeader parsed;
    if (!parsed.Parse(header, dataHead, fileSize)) return ASF_E_INVALIDHEADER;

    m_header = std::move(parsed);
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_path = path;
    m_fileSize = fileSize;
    m_headerSize = headerSize;
    m_open = true;
    m_changed = false;
    return S_OK;
}

HRESULT CMetadataEditor::Close() {
    if (!m_open) return NS_E_INVALID_REQUEST;
    m_open = false;
    m_changed = false;
    m_header = AsfHeader();
    return S_OK;
}

HRESULT CMetadataEditor::WriteNewFile(const std::vector<uint8_t>& header, const std::string& target,
                                      std::string* tempPath) {
    Fd in(open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (in.Get() < 0 || fstat(in.Get(), &st) != 0) return NS_E_FILE_NOT_FOUND;
    // The file must still be the one that was parsed.
    if (static_cast<uint64_t>(st.st_size) != m_fileSize) return NS_E_INVALID_REQUEST;
    uint8_t prefix[AsfHeader::kPrefixBytes];
    if (!ReadAt(in.Get(), prefix, sizeof prefix, 0) ||
        AsfHeader::HeaderSize(prefix) != m_headerSize)
        return NS_E_INVALID_REQUEST;

    // The rename would replace a file whose own mode forbids writing it.
    if (const int refusal = WriteRefusal(target)) return ResultFromErrno(refusal);
    std::string temp;
    Fd out(CreateUnfinishedFile(target, &st, &temp));
    if (out.Get() < 0) return ResultFromErrno(errno);
    *tempPath = temp;
    HRESULT hr = WriteAll(out.Get(), header.data(), header.size());
    std::vector<uint8_t> chunk(kCopyChunkBytes);
    for (uint64_t at = m_headerSize; SUCCEEDED(hr) && at < m_fileSize;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), m_fileSize - at));
        if (!ReadAt(in.Get(), chunk.data(), n, at)) return NS_E_FILE_WRITE;
        hr = WriteAll(out.Get(), chunk.data(), n);
        at += n;
    }
    if (SUCCEEDED(hr) && fsync(out.Get()) != 0) hr = ResultFromErrno(errno);
    if (SUCCEEDED(hr) && close(out.Release()) != 0) hr = ResultFromErrno(errno);
    return hr;
}

HRESULT CMetadataEditor::WriteInPlace(const std::vector<uint8_t>& header) {
    Fd fd(open(m_path.c_str(), O_RDWR | O_CLOEXEC));
    if (fd.Get() < 0) return ResultFromErrno(errno);
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0) return ResultFromErrno(errno);
    // The file must still be the one that was parsed.
    if (st.st_dev != m_device || st.st_ino != m_inode ||
        static_cast<uint64_t>(st.st_size) != m_fileSize)
        return NS_E_INVALID_REQUEST;
    uint8_t prefix[AsfHeader::kPrefixBytes];
    if (!ReadAt(fd.Get(), prefix, sizeof prefix, 0) ||
        AsfHeader::HeaderSize(prefix) != m_headerSize)
        return NS_E_INVALID_REQUEST;
    HRESULT hr = S_OK;
    for (size_t at = 0; SUCCEEDED(hr) && at < header.size();) {
        const ssize_t n =
            pwrite(fd.Get(), header.data() + at, header.size() - at, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) hr = ResultFromErrno(n < 0 ? errno : ENOSPC);
        if (n > 0) at += static_cast<size_t>(n);
    }
    if (SUCCEEDED(hr) && fdatasync(fd.Get()) != 0) hr = ResultFromErrno(errno);
    if (SUCCEEDED(hr) && close(fd.Release()) != 0) hr = ResultFromErrno(errno);
    return hr;
}

HRESULT CMetadataEditor::Flush() {
    if (!m_open) return NS_E_INVALID_REQUEST;
    if (!m_changed) return S_OK;
    // The same size as before: the header's room took the change, and the
    // rest of the file stays where it is.
    const uint64_t restBytes = m_fileSize - m_headerSize;
    const std::vector<uint8_t> fitted = m_header.Serialize(restBytes, m_headerSize);
    if (fitted.size() == m_headerSize) {
        const HRESULT hr = WriteInPlace(fitted);
        if (SUCCEEDED(hr)) m_changed = false;
        return hr;
    }
    const std::vector<uint8_t> header = m_header.Serialize(restBytes);
    // A link keeps pointing where it did: the file it names is replaced.
    const std::string target = ResolveLinkedTarget(m_path);
    std::string temp;
    HRESULT hr = WriteNewFile(header, target, &temp);
    if (SUCCEEDED(hr) && rename(temp.c_str(), target.c_str()) != 0) hr = ResultFromErrno(errno);
    if (FAILED(hr)) {
        if (!temp.empty()) unlink(temp.c_str());
        return hr;
    }
    m_fileSize = m_fileSize - m_headerSize + header.size();
    m_headerSize = header.size();
    m_changed = false;
    return S_OK;
}

HRESULT CMetadataEditor::GetAttributeCount(WORD wStreamNum, WORD* pcAttributes) {
    if (!pcAttributes) return E_POINTER;
    if (!m_open) return NS_E_INVALID_REQUEST;
    *pcAttributes = wStreamNum == 0 ? static_cast<WORD>(m_header.Descriptors().size()) : 0;
    return S_OK;
}

HRESULT CMetadataEditor::GetAttributeByName(WORD* pwStreamNum, LPCWSTR pszName,
                                            WMT_ATTR_DATATYPE* pType, BYTE* pValue,
                                            WORD* pcbLength) {
    if (!pwStreamNum || !pszName || !pType || !pcbLength) return E_POINTER;
    if (!m_open) return NS_E_INVALID_REQUEST;
    if (*pwStreamNum != 0) return ASF_E_NOTFOUND;
    for (const AsfDescriptor& d : m_header.Descriptors()) {
        if (d.name != pszName) continue;
        std::vector<uint8_t> value = d.value;
        WMT_ATTR_DATATYPE type = WMT_TYPE_BINARY;
        switch (d.type) {
            case AsfValueType::Unicode: {
                // Handed out as the runtime's WCHAR text with its NUL.
                const std::wstring text = FromUtf16Le(d.value.data(), d.value.size());
                value.resize((text.size() + 1) * sizeof(WCHAR));
                std::memcpy(value.data(), text.c_str(), value.size());
                type = WMT_TYPE_STRING;
                break;
            }
            case AsfValueType::Bytes:
                type = WMT_TYPE_BINARY;
                break;
            case AsfValueType::Bool:
                type = WMT_TYPE_BOOL;
                break;
            case AsfValueType::Dword:
                type = WMT_TYPE_DWORD;
                break;
            case AsfValueType::Qword:
                type = WMT_TYPE_QWORD;
                break;
            case AsfValueType::Word:
                type = WMT_TYPE_WORD;
                break;
        }
        if (value.size() > kMaxStoredValueBytes) return E_UNEXPECTED;
        const auto needed = static_cast<WORD>(value.size());
        *pType = type;
        if (!pValue) {
            *pcbLength = needed;
            return S_OK;
        }
        if (*pcbLength < needed) {
            *pcbLength = needed;
            return ASF_E_BUFFERTOOSMALL;
        }
        if (!value.empty()) std::memcpy(pValue, value.data(), value.size());
        *pcbLength = needed;
        return S_OK;
    }
    return ASF_E_NOTFOUND;
}

HRESULT CMetadataEditor::AddAttribute(WORD wStreamNum, LPCWSTR pszName, WORD* pwIndex,
                                      WMT_ATTR_DATATYPE Type, WORD /*wLangIndex*/,
                                      const BYTE* pValue, DWORD dwLength) {
    if (!pszName) return E_POINTER;
    if (!m_open) return NS_E_INVALID_REQUEST;
    if (wStreamNum != 0 || !*pszName) return E_INVALIDARG;
    AsfDescriptor d;
    d.name = pszName;
    HRESULT hr = StoredValue(Type, pValue, dwLength, &d.type, &d.value);
    if (FAILED(hr)) return hr;
    if (d.value.size() > kMaxStoredValueBytes || ToUtf16Le(d.name).size() > kMaxStoredValueBytes)
        return E_INVALIDARG;
    auto& list = m_header.Descriptors();
    size_t index = 0;
    while (index < list.size() && list[index].name != d.name) ++index;
    if (index == list.size()) {
        if (list.size() >= kMaxStoredValueBytes) return E_INVALIDARG;
        list.push_back(std::move(d));
    } else {
        list[index] = std::move(d);
    }
    if (pwIndex) *pwIndex = static_cast<WORD>(index);
    m_changed = true;
    return S_OK;
}

}  // namespace wmf
