// A second opinion on how long a file lasts, for files whose length
// GStreamer cannot estimate: a short transport stream gives its demuxer too
// few clock references to turn the file's size into a time. Internal.
#pragma once

#include <string>

#include <glib.h>

namespace zev::dshow {

// From the file's first time stamp to the end of its last picture or sound,
// in ns, as FFmpeg's container reader finds it (it reads the time stamps at
// the file's end); -1 when it cannot tell. Blocks while it reads; any thread.
gint64 ContainerLengthNs(const std::string& path);

}  // namespace zev::dshow
