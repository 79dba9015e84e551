#include "convert/engine/event_pump.h"

long PumpUntilEndingEvent(IMediaEvent* events, HANDLE handle, bool (*isEnding)(long code),
                          LONG_PTR* param1) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            continue;
        }
        if (woke != WAIT_OBJECT_0) {
            // A handle that can no longer be waited on would spin here; the
            // graph has gone, which ends the job as an error would.
            return EC_ERRORABORT;
        }
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&code, &p1, &p2, 0) != S_OK) continue;
        events->FreeEventParams(code, p1, p2);
        if (isEnding(code)) {
            if (param1) *param1 = p1;
            return code;
        }
    }
}
