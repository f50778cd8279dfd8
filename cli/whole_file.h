// Writing a whole file that the user named on the command line.
#pragma once

#include <string>

// Writes `content` to `path`, replacing the file; false with the system's
// reason. A full disk counts: every step is checked.
bool WriteWholeFile(const std::string &path, const std::string &content, std::string &error);
