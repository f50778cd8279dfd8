// Opening the files that building and consulting write: help pages,
// reports, output tables.
//
// Such a file is opened without following a symbolic link in its last part:
// a knowledge base's folder received from someone else may hold a link named
// like one of its pages ("flu.html -> ../../.profile"), and building or
// consulting it must not write through the link.
#pragma once

#include <cstdio>

// Like fopen with mode "w" (create or truncate) or "a+" (create, append and
// read); null when the file cannot be opened or its name is a symbolic link.
std::FILE *OpenWrittenFile(const char *path, const char *mode);
