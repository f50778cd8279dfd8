// Reading a knowledge base's file into a character source.
//
// The console's source streams its file: it holds a window of at most a
// megabyte and reads on as the build reaches its end, so a build of a large
// knowledge base does not hold its text besides the net it makes. A source
// is limited to CPInputChar::kMaxLength bytes: a longer file is refused,
// never cut short, and a regular file's size is tested before anything of
// it is read. A file that fails to be read, gives more than the limit (a
// pipe), or is changed while it is read (at its end, a regular file's
// modification time or size is not what it was when it was opened) ends
// the source with its ReadProblem(): whatever was built of it is not the
// knowledge base.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "language/input_char.h"

// Why a text of `size` bytes cannot be a source ("file too large (N bytes;
// at most M)"), or nothing when it can.
std::optional<std::string> SourceSizeProblem(int64_t size);

// The file as a streamed source; null with the reason (the system's text,
// or the size problem) when it cannot be opened or is too large.
std::unique_ptr<CPInputChar> ReadSourceFile(const std::string &path, std::string &reason);
// The same as text, for a caller that builds it more than once.
std::optional<std::string> ReadSourceText(const std::string &path, std::string &reason);
