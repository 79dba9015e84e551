// The length of a source, read through the media graph layer.
#pragma once

#include <string>

// False with a one-line `error` when the source cannot be rendered or tells
// no duration.
bool ProbeDurationSeconds(const std::string& path, double& seconds, std::string& error);
