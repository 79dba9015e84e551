// Where profile.cfg lives: beside the program, or, when the program's
// directory is not writable (an installed program), in the user's
// configuration directory, seeded from the copy beside the program.
#pragma once

#include <string>

#include "convert/common/program_names.h"

constexpr const char* kProfileFileName = "profile.cfg";
// Subfolder of the user's configuration directory.
constexpr const char* kConfigSubdir = kAppName;

// programDir: the directory of the program's executable. xdgConfigHome and
// home: the values of XDG_CONFIG_HOME and HOME ("" when unset). Creates the
// configuration directory and seeds it when it is chosen. When no writable
// place can be found, returns the path beside the program: it still reads.
std::string ResolveProfilePath(const std::string& programDir, const std::string& xdgConfigHome,
                               const std::string& home);

// profile.cfg in the user's configuration directory ($XDG_CONFIG_HOME, or
// $HOME/.config, then "reelsmith"), creating the directory and copying
// `seedFrom` there when the user has no profile.cfg yet. "" when no
// writable directory can be made.
std::string UserProfilePath(const std::string& seedFrom, const std::string& xdgConfigHome,
                            const std::string& home);

// The same with XDG_CONFIG_HOME and HOME from the environment.
std::string ResolveProfilePath(const std::string& programDir);
