#include "tables/table_formats.h"

#include <cstring>

#include "tables/batch_iter_bde.h"
#include "tables/batch_iter_txt.h"
#include "tables/in_database_bde.h"
#include "tables/in_database_rel_txt.h"
#include "tables/in_database_txt.h"
#include "tables/out_database_bde.h"
#include "tables/out_database_rel.h"
#include "tables/out_database_txt.h"

const CTableFormat *FindTableFormat(const char *kindName) {
    for (const CTableFormat &format : kTableFormats) {
        for (const char *name : {format.input, format.output, format.batch})
            if (*name != '\0' && std::strcmp(name, kindName) == 0) return &format;
    }
    return nullptr;
}

CInDatabase *NewInDatabase(const CTableFormat &format, CTableEnvironment &environment) {
    switch (format.form) {
    case CTableForm::NameValue: return new CInDatabaseTxt(format, environment);
    case CTableForm::Relational: return new CInDatabaseRelTxt(format, environment);
    case CTableForm::Engine: break;
    }
    return new CInDatabaseBDE(environment);
}

COutDatabase *NewOutDatabase(const CTableFormat &format, CTableEnvironment &environment) {
    switch (format.form) {
    case CTableForm::NameValue: return new COutDatabaseTxt(format, environment);
    case CTableForm::Relational: return new COutDatabaseRel(format, environment);
    case CTableForm::Engine: break;
    }
    return new COutDatabaseBDE(environment);
}

CBatchIterator *NewBatchIterator(const CTableFormat &format, CTableEnvironment &environment) {
    switch (format.form) {
    case CTableForm::NameValue: break;
    case CTableForm::Relational: return new CBatchIterDBTxt(format, environment);
    case CTableForm::Engine: return new CBatchIterDBBDE(environment);
    }
    return nullptr;
}
