// Which file names a knowledge base may write to.
//
// Reports and output tables are files that a knowledge base names in its own
// parameters, and a knowledge base may come from someone else. Consulting it
// must not append to or replace files elsewhere (a shell's start-up file, say,
// with a node name that reads as a command), so such a file must lie inside
// the knowledge base's directory: a relative name without a ".." part. Files
// named otherwise are not written, as files that cannot be opened are not.
#pragma once

// True for a name that does not depend on a base directory: one starting
// with "/" or "\", or with a drive letter and ":".
bool IsAbsoluteFileName(const char *name);

// The reason given when a file is not written for its name.
extern const char *const kOutsideFolderReason;

// True for a non-empty relative name none of whose parts (split at "/" and
// "\") is "..". Absolute names ("/x", "\x", "c:x") are refused.
bool IsWritableFileName(const char *name);
