// CTableFormat: a format of table files as data, with the kinds that use it.
//
// The text kinds come in twins that differ only in their name and the
// separator of their fields ("idbtxttab" and "idbtxtcomma"). A format names
// its input table kind, its output table kind and its batch iterator kind,
// and says how its records are kept; each family of tables is one class,
// configured by the row of its format and taking its own kind's name from
// it. The program's rows are in tables/table_formats.h.
#pragma once

// How a format keeps its records.
enum class CTableForm {
    NameValue,   // a text file of name-value lines
    Relational,  // a text file of a header row and data rows
    Engine,      // a table of the database engine
};

struct CTableFormat {
    const char *input;   // the kind names, each also the parameter that
    const char *output;  // switches the kind on; the batch iterator's keys
    const char *batch;   // select rows of the input kind; "" for none
    CTableForm form;
    char separator;  // between the fields of a text file; 0 for the engine
};
