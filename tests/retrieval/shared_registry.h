// The program's registry of retrievers and translators, made once for the
// tests that only look at it or build with it and ask no question.
#pragma once

#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"

namespace retrieval_test {

// A registry shared by the builds of tests that ask no question: its record
// of windows is empty, and its tables resolve names as given.
inline CAllRetrieversWin &Registry() {
    static CUserInterface noWindows;
    static CTableEnvironment environment;
    static CAllRetrieversWin registry(noWindows, environment);
    return registry;
}

}  // namespace retrieval_test
