// Marks the one symbol a converter library exports; everything else is
// compiled hidden.
#pragma once

#define ZEV_CONVERT_EXPORT __attribute__((visibility("default")))
