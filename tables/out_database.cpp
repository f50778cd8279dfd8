#include "tables/out_database.h"

std::string OutputFileFailure(const CString &fileName, const std::string &why) {
    return std::string("Cannot write output file ") + fileName.Text() + ": " + why;
}
