// The parameter question: every `askparam` parameter asked in the parameter
// window, the answer stored as the parameter's value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/params.h"
#include "retrieval/param_retriever_win.h"
#include "tests/retrieval/fake_windows.h"
#include "tests/language/knowledge_base.h"

using namespace retrieval_test;

namespace {

const char *const kTwoAsked = "net { askparam (prottxt) setparam (idbtxttab, cases.txt) askparam (patient) }\n"
                              "nodes { G { (bayesian, 0.5, goal) } }\n";

}  // namespace

TEST(ParamQuestion, EveryAskedParameterIsAskedWithAnEmptyField) {
    CUserInterface ui;
    FakeParamWindow window;
    ui.paramQuestion = &window;
    std::vector<std::string> shown;
    window.onShow = [&] { shown.push_back(window.description + "=" + window.text); };
    window.SetText("left over");
    // The first is accepted, the second closed by its close box: both keep the text.
    window.Then([](auto &w) {
        w.SetText("report.txt");
        w.Accept();
    });
    window.Then([](auto &w) {
        w.SetText("Smith");
        w.Hide();
    });

    KnowledgeBase kb(kTwoAsked, ui);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    ASSERT_EQ(kb.parameters.AskParameters(&kb.table), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"prottxt=", "patient="}));
    EXPECT_STREQ(kb.parameters.GetParam(CString("prottxt")).Text(), "report.txt");
    EXPECT_STREQ(kb.parameters.GetParam(CString("patient")).Text(), "Smith");
    EXPECT_STREQ(kb.parameters.GetParam(CString("idbtxttab")).Text(), "cases.txt");

    // Asked again (the next consultation): the new answers replace the old.
    window.AcceptAsIs().Type("Jones");
    ASSERT_EQ(kb.parameters.AskParameters(&kb.table), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"prottxt=", "patient=", "prottxt=", "patient="}));
    // An empty text is the value, not an absent parameter.
    EXPECT_TRUE(kb.parameters.HasParam(CString("prottxt")));
    EXPECT_STREQ(kb.parameters.GetParam(CString("prottxt")).Text(), "");
    EXPECT_STREQ(kb.parameters.GetParam(CString("patient")).Text(), "Jones");
}

TEST(ParamQuestion, CancelStoresNothingAndFails) {
    CUserInterface ui;
    FakeParamWindow window;
    ui.paramQuestion = &window;
    CParamRetrieverWin retriever(ui);
    window.Then([&](auto &w) {
        w.SetText("typed but aborted");
        retriever.Cancel();
    });
    CParameters parameters;
    CParamAsk ask(CString("patient"));
    EXPECT_EQ(retriever.Retrieve(&ask, &parameters), 2);
    EXPECT_FALSE(parameters.HasParam(CString("patient")));
    EXPECT_TRUE(window.aborted);
    EXPECT_FALSE(window.visible);

    // Stored directly, the answer replaces a value the parameter had.
    parameters.SetParam(CString("patient"), CString("old"));
    window.Type("new");
    EXPECT_EQ(retriever.Retrieve(&ask, &parameters), 0);
    EXPECT_STREQ(parameters.GetParam(CString("patient")).Text(), "new");

    // Without a window nothing can be asked.
    ui.paramQuestion = nullptr;
    EXPECT_EQ(retriever.Retrieve(&ask, &parameters), 2);
    retriever.Cancel();
}
