// The records of dBASE files found by key without reading the file for every
// key: the first record of each key value of a field, gathered in one pass
// and kept while the file stays the same (same identity, size and time of
// change), so that a batch over a large file reads it once, not once per
// case.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <map>
#include <string>
#include <unordered_map>

class CDbfFile;

class CDbfKeyIndexes {
public:
    // The first record not deleted whose `field` reads `key` in the file
    // opened from `path`; -1 when there is none.
    int Find(const CDbfFile &file, const std::string &path, int field, const std::string &key);

private:
    struct CEntry {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec changed{};
        int field = -1;
        std::unordered_map<std::string, int> first;  // key value to record
    };

    std::map<std::string, CEntry> entries;  // by path
};
