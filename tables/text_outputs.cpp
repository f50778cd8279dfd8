#include "tables/text_outputs.h"

#include "net/params.h"
#include "tables/table_formats.h"

std::vector<CTextOutput> TextOutputs(CParameters &parameters) {
    std::vector<CTextOutput> outputs;
    for (const CTableFormat &format : kTableFormats)
        if (format.form != CTableForm::Engine && parameters.HasParam(format.output))
            outputs.push_back({&format, parameters.GetParam(format.output).Text()});
    return outputs;
}
