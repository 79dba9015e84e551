// The profile store's tests use the test kit: temporary folders, files and
// the scripted dialog seam.
#pragma once

#include "media_tools.h"
#include "scripted_dialogs.h"
