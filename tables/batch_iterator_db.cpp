#include "tables/batch_iterator_db.h"

#include "net/params.h"

CBatchIteratorDB::CBatchIteratorDB(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

CBatchIteratorDB::~CBatchIteratorDB() { Close(); }

int32_t CBatchIteratorDB::Next(CParameters *parameters) {
    if (keys == nullptr || position < 0 || position >= keys->Count()) return 2;
    const CString key = keys->At(position);
    for (const char *name : {"dbrecord", "idbrecord", "odbrecord"}) {
        parameters->RemoveParam(name);
        parameters->SetParam(name, key);
    }
    ++position;
    if (position >= keys->Count()) Close();
    return 0;
}

void CBatchIteratorDB::Close() {
    delete keys;
    keys = nullptr;
    active = false;
}

void CBatchIteratorDB::StartKeys() {
    Close();
    keys = new CStringVector;
    position = 0;
    keyCount = 0;
}

int32_t CBatchIteratorDB::FinishKeys() {
    // A shard keeps its own keys only, in their order.
    if (keys != nullptr && environment.shard.Active()) {
        auto *own = new CStringVector;
        for (int32_t i = 0; i < keys->Count(); ++i)
            if (environment.shard.Takes(i)) own->Add(keys->At(i));
        delete keys;
        keys = own;
    }
    active = keys != nullptr && keys->Count() > 0;
    keyCount = keys == nullptr ? 0 : keys->Count();
    if (!active) Close();
    return 0;
}
