#include "tables/dbf_key_index.h"

#include <sys/stat.h>

#include "tables/dbf_file.h"

int CDbfKeyIndexes::Find(const CDbfFile &file, const std::string &path, int field, const std::string &key) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return -1;
    CEntry &entry = entries[path];
    const bool current = entry.field == field && entry.device == info.st_dev && entry.inode == info.st_ino &&
                         entry.size == info.st_size && entry.changed.tv_sec == info.st_mtim.tv_sec &&
                         entry.changed.tv_nsec == info.st_mtim.tv_nsec;
    if (!current) {
        entry = CEntry{info.st_dev, info.st_ino, info.st_size, info.st_mtim, field, {}};
        for (int record = 0; record < file.RecordCount(); ++record) {
            if (!file.IsDeleted(record))
                entry.first.emplace(file.Value(record, field).value_or(std::string()), record);
        }
    }
    auto found = entry.first.find(key);
    return found == entry.first.end() ? -1 : found->second;
}
