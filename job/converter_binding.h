// Binding a converter library for one job, shared by the GUI and the
// command-line converter: load libtranzo9.so, fall back to libtranzo8.so
// when the runtime is too old for it, resolve Convert, and widen the stored
// profile into the record that Convert takes.
#pragma once

#include <string>

#include "convert/common/convert_api.h"
#include "convert/common/profile_struc.h"
#include "profiles/profile_record.h"
#include "platform/win/library.h"

// Receives the binding's log lines (each ends in "\r\n").
class IJobLog {
public:
    virtual ~IJobLog() = default;
    virtual void LogJobLine(const std::string& line) = 0;
};

struct BoundConverter {
    HMODULE module = nullptr;
    ConvertFn convert = nullptr;
};

// Loads a converter library and resolves Convert, logging each step as the
// job control does. Returns false when the job ends here; `out.module` is
// then null (a library whose entry point is missing is unloaded again, so
// that nothing stays loaded after a failed binding).
bool BindConverter(IJobLog& log, BoundConverter& out, const char* primary = kConverterLibrary9,
                   const char* fallback = kConverterLibrary8);

// Unloads the library of a finished job; safe on an empty binding.
void UnbindConverter(BoundConverter& bound);

// The Convert record for the stored profile's record: all zero, the name
// left empty, odd sizes made even (by adding one, as a signed remainder test:
// -3 becomes -2), the video bit rate turned from kilobits into bits per
// second (held at kMaxConverterVideoKbps, so that it fits 32 bits) and
// widened to a double, every other field copied. The only place where a
// bit rate changes its unit between profile.cfg and the encoder.
ProfileStruc WidenProfile(const ProfileRecord& record);
