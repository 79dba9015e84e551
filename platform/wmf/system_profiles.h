// The system profiles of each runtime version.
#pragma once

#include "platform/wmf/wmsdk.h"

namespace wmf {

class CProfile;

// Number of system profiles of `version` (0 for a version without any).
DWORD SystemProfileCount(WMT_VERSION version);
// A new profile (one reference), or E_INVALIDARG for an index out of range.
HRESULT MakeSystemProfile(WMT_VERSION version, DWORD index, CProfile** out);

}  // namespace wmf
