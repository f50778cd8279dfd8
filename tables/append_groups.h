// Appending records to engine tables in groups (see
// CDatabaseEngine::BeginAppending): every disk wait of a commit is shared by
// the records of a group instead of paid by each. A group holds records of
// one database; it ends when a record for another database comes, when it
// holds `records` records or began `age` ago, and at End. A group that
// cannot start leaves its records to be stored one by one.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class CDatabaseEngine;

class CAppendGroups {
public:
    struct Limits {
        int32_t records;
        std::chrono::milliseconds age;
    };

    CAppendGroups(CDatabaseEngine &engine, Limits limits);
    // Ends an open group; its failure goes unreported, so callers End first.
    ~CAppendGroups();
    CAppendGroups(const CAppendGroups &) = delete;
    CAppendGroups &operator=(const CAppendGroups &) = delete;

    // Before a record for the database of `alias`. False, with the reason,
    // when ending the previous group failed (its records are lost).
    bool Enter(const std::string &alias, std::string &reason);
    // Stores the open group. False, with the reason, when that failed or
    // when a Pause since the last End failed.
    bool End(std::string &reason);
    // Stores the open group now, because the consultation is about to wait
    // for the user: a group held open meanwhile would keep the database
    // locked for every other writer. A failure is kept for the next End.
    void Pause();

private:
    CDatabaseEngine &engine;
    Limits limits;
    bool open = false;
    std::string openAlias;
    int32_t records = 0;
    std::chrono::steady_clock::time_point began;
    std::string pausedFailure;  // why a group stored by Pause was lost
};
