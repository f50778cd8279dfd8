// The table environment of the table fuzz targets: relative file names
// resolve into the scratch file's folder. Made once and kept for the run.
#pragma once

#include "scratch_file.h"
#include "tables/table_environment.h"

inline CTableEnvironment &ScratchEnvironment(const ScratchFile &file) {
    static CTableEnvironment *environment = [&file] {
        auto *made = new CTableEnvironment;
        made->baseDirectory = file.directory.path.string().c_str();
        return made;
    }();
    return *environment;
}
