// Reading a knowledge base's file into a character source.
//
// The whole file goes into the source's own buffer, so a build holds one
// copy of the text. A source is limited to CPInputChar::kMaxLength bytes: a
// longer file is refused, never cut short, and a regular file's size is
// tested before anything of it is read. A file whose size is not known in
// advance (a pipe) is refused once it has given more than the limit.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "language/input_char.h"

// Why a text of `size` bytes cannot be a source ("file too large (N bytes;
// at most M)"), or nothing when it can.
std::optional<std::string> SourceSizeProblem(int64_t size);

// The file as a source; null with the reason (the system's text, or the
// size problem) when it cannot be read whole.
std::unique_ptr<CPInputChar> ReadSourceFile(const std::string &path, std::string &reason);
// The same as text, for a caller that builds it more than once.
std::optional<std::string> ReadSourceText(const std::string &path, std::string &reason);
