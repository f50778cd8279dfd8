#include "language/output_memo.h"

CPOutputMemo::CPOutputMemo(IMessagePane *pane) : memo(pane) {}

int CPOutputMemo::Open() {
    if (memo) memo->Clear();
    return 0;
}

void CPOutputMemo::WriteLine(const char *text) {
    if (memo) memo->AppendLine(text ? text : "");
}
