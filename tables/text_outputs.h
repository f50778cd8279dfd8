// The text output tables a knowledge base asks for, by their parameters:
// the name-value and relational files (tables/table_formats.h), each with
// the file name its parameter gives.
#pragma once

#include <string>
#include <vector>

class CParameters;
struct CTableFormat;

struct CTextOutput {
    const CTableFormat *format;
    std::string name;
};

std::vector<CTextOutput> TextOutputs(CParameters &parameters);
