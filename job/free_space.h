// The room a job's output needs on its destination's file system, checked
// before the job begins (the session asks its host when there is less), so
// that a long job is not lost to a full disk at its end.
//
// Threads: any. ExpectedOutputBytes and ByteCountText are pure;
// FreeBytesFor asks the file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The bytes a job is expected to write: both streams' bit rates over the
// range's length, plus 5 % for the container's packets and index and 64 KiB
// for its header. Held at the largest 64-bit value for absurd inputs.
uint64_t ExpectedOutputBytes(double bitsPerSecond, double seconds);

// Bytes an ordinary user may still write on the file system that holds the
// folder of `destination`; none when that cannot be asked (no such folder).
std::optional<uint64_t> FreeBytesFor(const std::string& destination);

// "27364536 bytes (26.1 MiB)": exact, and readable at a glance.
std::string ByteCountText(uint64_t bytes);
