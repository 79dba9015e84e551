// The Windows Media Format runtime: profiles, codec information, the writer
// and the metadata editor. Implemented over FFmpeg in libwmvcore.so.
//
// Ownership: entry points and getters hand out one reference that the caller
// releases. Threads: IWMWriter::AllocateSample and WriteSample may be called
// from two threads at once; every other method from one thread at a time.
// Failures return a failing HRESULT and leave out-parameters NULL or
// unchanged.
#pragma once

#include "platform/media/mediatype.h"
#include "platform/win/com.h"

using WMT_VERSION = DWORD;
constexpr WMT_VERSION WMT_VER_4_0 = 0x00040000;
constexpr WMT_VERSION WMT_VER_7_0 = 0x00070000;
constexpr WMT_VERSION WMT_VER_8_0 = 0x00080000;
constexpr WMT_VERSION WMT_VER_9_0 = 0x00090000;

enum WMT_ATTR_DATATYPE {
    WMT_TYPE_DWORD = 0,
    WMT_TYPE_STRING = 1,
    WMT_TYPE_BINARY = 2,
    WMT_TYPE_BOOL = 3,
    WMT_TYPE_QWORD = 4,
    WMT_TYPE_WORD = 5,
    WMT_TYPE_GUID = 6,
};

// Runtime result codes.
constexpr HRESULT NS_E_INVALID_REQUEST = MakeHResult(0xC00D002B);
constexpr HRESULT NS_E_FILE_NOT_FOUND = MakeHResult(0xC00D001A);
constexpr HRESULT NS_E_FILE_WRITE = MakeHResult(0xC00D0013);
constexpr HRESULT NS_E_DISK_FULL = MakeHResult(0xC00D0027);
constexpr HRESULT NS_E_INVALID_INPUT_FORMAT = MakeHResult(0xC00D0BB8);
constexpr HRESULT NS_E_INVALID_OUTPUT_FORMAT = MakeHResult(0xC00D0BB9);
constexpr HRESULT NS_E_NOT_CONFIGURED = MakeHResult(0xC00D0016);
constexpr HRESULT NS_E_INVALID_STREAM = MakeHResult(0xC00D0045);
constexpr HRESULT NS_E_INVALID_DATA = MakeHResult(0xC00D0BC4);
constexpr HRESULT NS_E_UNRECOGNIZED_STREAM_TYPE = MakeHResult(0xC00D002A);
constexpr HRESULT NS_E_NO_MORE_SAMPLES = MakeHResult(0xC00D0BCF);
constexpr HRESULT ASF_E_NOTFOUND = MakeHResult(0xC00D07F0);
constexpr HRESULT ASF_E_BUFFERTOOSMALL = MakeHResult(0xC00D07D6);
constexpr HRESULT ASF_E_INVALIDHEADER = MakeHResult(0xC00D07E2);

// True for the results by which a writer says that its output file cannot
// be written or finished (disk full, I/O error, folder gone, no permission):
// the file will not be whole, so a job has failed.
constexpr bool IsOutputFileFailure(HRESULT hr) {
    return hr == NS_E_DISK_FULL || hr == NS_E_FILE_WRITE || hr == NS_E_FILE_NOT_FOUND ||
           hr == E_ACCESSDENIED;
}

constexpr GUID WmfIid(uint32_t n) {
    return MakeLayerGuid(0x574D, n);
}

struct IWMStreamConfig;
struct IWMProfile;

struct INSSBuffer : IUnknown {
    static constexpr GUID iid = WmfIid(1);
    virtual HRESULT GetLength(DWORD* pdwLength) = 0;
    virtual HRESULT SetLength(DWORD dwLength) = 0;
    virtual HRESULT GetMaxLength(DWORD* pdwLength) = 0;
    virtual HRESULT GetBuffer(BYTE** ppdwBuffer) = 0;
    virtual HRESULT GetBufferAndLength(BYTE** ppdwBuffer, DWORD* pdwLength) = 0;
};

struct IWMMediaProps : IUnknown {
    static constexpr GUID iid = WmfIid(2);
    virtual HRESULT GetType(GUID* pguidType) = 0;
    // With pType NULL, *pcbType receives the size that the type and its
    // format block need; otherwise pType must have *pcbType bytes and
    // receives the type with pbFormat pointing inside the same buffer.
    virtual HRESULT GetMediaType(WM_MEDIA_TYPE* pType, DWORD* pcbType) = 0;
    virtual HRESULT SetMediaType(WM_MEDIA_TYPE* pType) = 0;
};

struct IWMInputMediaProps : IWMMediaProps {
    static constexpr GUID iid = WmfIid(3);
    virtual HRESULT GetConnectionName(WCHAR* pwszName, WORD* pcchName) = 0;
    virtual HRESULT GetGroupName(WCHAR* pwszName, WORD* pcchName) = 0;
};

struct IWMStreamConfig : IUnknown {
    static constexpr GUID iid = WmfIid(4);
    virtual HRESULT GetStreamType(GUID* pguidStreamType) = 0;
    virtual HRESULT GetStreamNumber(WORD* pwStreamNum) = 0;
    virtual HRESULT SetStreamNumber(WORD wStreamNum) = 0;
    virtual HRESULT GetStreamName(WCHAR* pwszStreamName, WORD* pcchStreamName) = 0;
    virtual HRESULT SetStreamName(const WCHAR* pwszStreamName) = 0;
    virtual HRESULT GetConnectionName(WCHAR* pwszInputName, WORD* pcchInputName) = 0;
    virtual HRESULT SetConnectionName(const WCHAR* pwszInputName) = 0;
    virtual HRESULT GetBitrate(DWORD* pdwBitrate) = 0;
    virtual HRESULT SetBitrate(DWORD pdwBitrate) = 0;
    virtual HRESULT GetBufferWindow(DWORD* pmsBufferWindow) = 0;
    virtual HRESULT SetBufferWindow(DWORD msBufferWindow) = 0;
};

struct IWMProfile : IUnknown {
    static constexpr GUID iid = WmfIid(5);
    virtual HRESULT GetVersion(WMT_VERSION* pdwVersion) = 0;
    // pwszName NULL: *pcchName receives the length with the terminator.
    virtual HRESULT GetName(WCHAR* pwszName, DWORD* pcchName) = 0;
    virtual HRESULT SetName(const WCHAR* pwszName) = 0;
    virtual HRESULT GetStreamCount(DWORD* pcStreams) = 0;
    virtual HRESULT GetStream(DWORD dwStreamIndex, IWMStreamConfig** ppConfig) = 0;
    virtual HRESULT GetStreamByNumber(WORD wStreamNum, IWMStreamConfig** ppConfig) = 0;
    virtual HRESULT RemoveStream(IWMStreamConfig* pConfig) = 0;
    virtual HRESULT RemoveStreamByNumber(WORD wStreamNum) = 0;
    // Adds a copy of the configuration.
    virtual HRESULT AddStream(IWMStreamConfig* pConfig) = 0;
    // Replaces the stream of the same number by a copy of the configuration.
    virtual HRESULT ReconfigStream(IWMStreamConfig* pConfig) = 0;
};

struct IWMProfileManager : IUnknown {
    static constexpr GUID iid = WmfIid(6);
    virtual HRESULT GetSystemProfileCount(DWORD* pcProfiles) = 0;
    virtual HRESULT LoadSystemProfile(DWORD dwProfileIndex, IWMProfile** ppProfile) = 0;
};

struct IWMProfileManager2 : IWMProfileManager {
    static constexpr GUID iid = WmfIid(7);
    virtual HRESULT GetSystemProfileVersion(WMT_VERSION* pdwVersion) = 0;
    virtual HRESULT SetSystemProfileVersion(WMT_VERSION dwVersion) = 0;
};

struct IWMCodecInfo : IUnknown {
    static constexpr GUID iid = WmfIid(8);
    virtual HRESULT GetCodecInfoCount(REFGUID guidType, DWORD* pcCodecs) = 0;
    virtual HRESULT GetCodecFormatCount(REFGUID guidType, DWORD dwCodecIndex, DWORD* pcFormat) = 0;
    virtual HRESULT GetCodecFormat(REFGUID guidType, DWORD dwCodecIndex, DWORD dwFormatIndex,
                                   IWMStreamConfig** ppIStreamConfig) = 0;
};

struct IWMCodecInfo2 : IWMCodecInfo {
    static constexpr GUID iid = WmfIid(9);
    // wszName NULL: *pcchName receives the length with the terminator.
    virtual HRESULT GetCodecName(REFGUID guidType, DWORD dwCodecIndex, WCHAR* wszName,
                                 DWORD* pcchName) = 0;
    virtual HRESULT GetCodecFormatDesc(REFGUID guidType, DWORD dwCodecIndex, DWORD dwFormatIndex,
                                       IWMStreamConfig** ppIStreamConfig, WCHAR* wszDesc,
                                       DWORD* pcchDesc) = 0;
};

struct IWMWriter : IUnknown {
    static constexpr GUID iid = WmfIid(10);
    virtual HRESULT SetProfile(IWMProfile* pProfile) = 0;
    virtual HRESULT SetOutputFilename(const WCHAR* pwszFilename) = 0;
    virtual HRESULT GetInputCount(DWORD* pcInputs) = 0;
    virtual HRESULT GetInputProps(DWORD dwInputNum, IWMInputMediaProps** ppInput) = 0;
    virtual HRESULT SetInputProps(DWORD dwInputNum, IWMInputMediaProps* pInput) = 0;
    virtual HRESULT BeginWriting() = 0;
    virtual HRESULT EndWriting() = 0;
    virtual HRESULT AllocateSample(DWORD dwSampleSize, INSSBuffer** ppSample) = 0;
    // cnsSampleTime in 100-nanosecond units.
    virtual HRESULT WriteSample(DWORD dwInputNum, QWORD cnsSampleTime, DWORD dwFlags,
                                INSSBuffer* pSample) = 0;
    virtual HRESULT Flush() = 0;
};

struct IWMMetadataEditor : IUnknown {
    static constexpr GUID iid = WmfIid(11);
    virtual HRESULT Open(const WCHAR* pwszFilename) = 0;
    virtual HRESULT Close() = 0;
    // Writes the changed header back into the file.
    virtual HRESULT Flush() = 0;
};

struct IWMHeaderInfo3 : IUnknown {
    static constexpr GUID iid = WmfIid(12);
    virtual HRESULT GetAttributeCount(WORD wStreamNum, WORD* pcAttributes) = 0;
    // pValue NULL: *pcbLength receives the size. Strings are WCHAR text with
    // a terminator.
    virtual HRESULT GetAttributeByName(WORD* pwStreamNum, LPCWSTR pszName, WMT_ATTR_DATATYPE* pType,
                                       BYTE* pValue, WORD* pcbLength) = 0;
    // A WMT_TYPE_STRING value is WCHAR text; cbAttributeLength is its length
    // in bytes, with or without a terminator.
    virtual HRESULT AddAttribute(WORD wStreamNum, LPCWSTR pszName, WORD* pwIndex,
                                 WMT_ATTR_DATATYPE Type, WORD wLangIndex, const BYTE* pValue,
                                 DWORD dwLength) = 0;
};

constexpr IID IID_INSSBuffer = INSSBuffer::iid;
constexpr IID IID_IWMMediaProps = IWMMediaProps::iid;
constexpr IID IID_IWMInputMediaProps = IWMInputMediaProps::iid;
constexpr IID IID_IWMStreamConfig = IWMStreamConfig::iid;
constexpr IID IID_IWMProfile = IWMProfile::iid;
constexpr IID IID_IWMProfileManager = IWMProfileManager::iid;
constexpr IID IID_IWMProfileManager2 = IWMProfileManager2::iid;
constexpr IID IID_IWMCodecInfo = IWMCodecInfo::iid;
constexpr IID IID_IWMCodecInfo2 = IWMCodecInfo2::iid;
constexpr IID IID_IWMWriter = IWMWriter::iid;
constexpr IID IID_IWMMetadataEditor = IWMMetadataEditor::iid;
constexpr IID IID_IWMHeaderInfo3 = IWMHeaderInfo3::iid;

extern "C" {
// The profile manager also answers IWMCodecInfo and IWMCodecInfo2.
HRESULT WMCreateProfileManager(IWMProfileManager** ppProfileManager);
HRESULT WMCreateWriter(IUnknown* pUnkCert, IWMWriter** ppWriter);
HRESULT WMCreateEditor(IWMMetadataEditor** ppEditor);
// The writer for the media graph's ASF writer filter; kept apart from
// WMCreateWriter so that the filter works with a runtime that lacks it.
HRESULT WMCreateWriterPriv(IWMWriter** ppWriter);
}
