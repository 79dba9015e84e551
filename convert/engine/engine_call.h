// What every engine's per-call object holds for its caller: COM initialised
// on the calling thread for the length of the call, and the caller's three
// interface slots. The engine's own object derives from it, so its
// interfaces are released (in its own destructor) before the slots are
// cleared and COM is uninitialised (here), on every path.
#pragma once

#include "convert/engine/engine_release.h"
#include "platform/win/com.h"

class CEngineCall {
public:
    CEngineCall(const CEngineCall&) = delete;
    CEngineCall& operator=(const CEngineCall&) = delete;

    // The result of initialising COM, for the job to report.
    const HRESULT m_hrComInit;
    IGraphBuilder** m_ppGraphSlot = nullptr;
    IMediaControl** m_ppControlSlot = nullptr;
    IMediaSeeking** m_ppSeekingSlot = nullptr;

protected:
    // A single-threaded apartment, as the caller's user-interface thread.
    CEngineCall() : m_hrComInit(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CEngineCall() {
        ClearCallerSlots(m_ppGraphSlot, m_ppControlSlot, m_ppSeekingSlot);
        // A thread that was already in another apartment kept its own
        // initialisation; only a successful one is balanced.
        if (SUCCEEDED(m_hrComInit)) CoUninitialize();
    }
};
