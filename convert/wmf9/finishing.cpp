#include "convert/wmf9/finishing.h"

#include <string>

#include "convert/common/convert_api.h"
#include "convert/common/job_report.h"
#include "convert/common/program_names.h"
#include "convert/engine/output_failure.h"

namespace {

constexpr wchar_t kDescriptionAttribute[] = L"Description";
constexpr char kDescriptionPrefix[] = "Converted use ZEV from ";
constexpr WORD kFileLevelStream = 0;
constexpr WORD kDefaultLanguage = 0;
constexpr char kEndOfConverting[] = "End of converting.\r\n";

std::wstring DescriptionText() {
    // Both parts are ASCII, so each byte is one character.
    std::wstring text;
    for (const char* p = kDescriptionPrefix; *p; ++p) text += static_cast<wchar_t>(*p);
    for (const char* p = kMakerWebAddress; *p; ++p) text += static_cast<wchar_t>(*p);
    return text;
}

// The first failure of tagging, or S_OK.
HRESULT TagFile(const WCHAR* fileName) {
    ComPtr<IWMMetadataEditor> editor;
    HRESULT hr = WMCreateEditor(editor.Put());
    if (FAILED(hr) || !editor) {
        Trace("Could not create Metadata Editor ( hr=0x%08x ).\n", Hex(hr));
        return FAILED(hr) ? hr : E_POINTER;
    }
    hr = editor->Open(fileName);
    if (FAILED(hr)) {
        Trace("Could not open the file %ls ( hr=0x%08x ).\n", fileName, Hex(hr));
        return hr;
    }
    // The header interface goes before the editor writes and closes.
    HRESULT added = E_NOINTERFACE;
    if (auto header = editor.As<IWMHeaderInfo3>()) {
        const std::wstring text = DescriptionText();
        WORD index = 0;
        // No terminator: the length is the characters alone.
        added =
            header->AddAttribute(kFileLevelStream, kDescriptionAttribute, &index, WMT_TYPE_STRING,
                                 kDefaultLanguage, reinterpret_cast<const BYTE*>(text.data()),
                                 static_cast<DWORD>(text.size() * sizeof(WCHAR)));
    }
    hr = editor->Flush();
    editor->Close();
    return FAILED(added) ? added : hr;
}

// A file left untagged is said, not passed over: the job itself is done.
void ReportUntagged(const LogChannel& log, HRESULT hr) {
    if (IsOutputFileFailure(hr)) {
        log.Printf(
            "Info: Could not add the description tag to the output file (%s), "
            "Error=0X%08X\r\n",
            OutputFailureReason(hr), Hex(hr));
    } else {
        log.Printf("Info: Could not add the description tag to the output file, Error=0X%08X\r\n",
                   Hex(hr));
    }
}

}  // namespace

void FinishJob(CConvertor& c, GraphEnding ending) {
    const LogChannel& log = c.m_log;
    HRESULT hr = c.m_pMediaControl->Stop();
    if (FAILED(hr)) log.Printf("Failed to stop filter graph!  Error=0X%08X\r\n", Hex(hr));
    hr = c.m_pWriter->Flush();
    if (FAILED(hr)) log.PrintfTraced("Info: Could not Flush on Writer, Error=0X%08X\r\n", Hex(hr));
    hr = c.m_pWriter->EndWriting();
    if (FAILED(hr)) {
        log.PrintfTraced("Info: Error in end writing on Writer, Error=0X%08X\r\n", Hex(hr));
        // The new file was not finished, so the destination still holds
        // what it held before: the job failed, and the old file is not
        // tagged as if it were the new one.
        log.Send(OutputFailureLine(hr).c_str());
        log.Send(kEndOfConverting);
        return;
    }
    if (ending == GraphEnding::RangeDone) log.PrintfTraced("%s", kReportCompleted9);
    log.Send(kEndOfConverting);
    hr = TagFile(c.m_wszDestFN);
    if (FAILED(hr)) ReportUntagged(log, hr);
}
