// The taxonomy question: the rows of the list, the class dialog, and what
// the user's choices do to the goals of the net.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/taxonomy_retriever_win.h"
#include "tests/retrieval/fake_windows.h"

using namespace retrieval_test;

namespace {

// The list window: plays its script with the events it was shown with.
class FakeListWindow : public ITaxonomyListWindow {
public:
    using Step = std::function<void(ITaxonomyListEvents &)>;

    void ShowRows(const std::vector<CTaxonomyListRow> &shown) override {
        rows = shown;
        ++refreshes;
        if (onShowRows) onShowRows();
    }
    void SetCurrentRow(int32_t row) override { current = row; }
    void ShowAndWait(ITaxonomyListEvents &events) override {
        ++showings;
        visible = true;
        while (visible && !script.empty()) {
            Step step = std::move(script.front());
            script.pop_front();
            step(events);
        }
        if (visible) {
            ADD_FAILURE() << "the list was left waiting";
            visible = false;
        }
    }
    void Hide() override { visible = false; }

    FakeListWindow &Then(Step step) {
        script.push_back(std::move(step));
        return *this;
    }

    std::vector<CTaxonomyListRow> rows;
    int32_t current = -1;
    int showings = 0;
    int refreshes = 0;
    bool visible = false;
    std::function<void()> onShowRows;

private:
    std::deque<Step> script;
};

// The class dialog: answers from its script, recording what it showed.
class FakeClassDialog : public ITaxonomyClassDialog {
public:
    CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) override {
        trees.push_back(tree);
        rejections.emplace_back(rejection.Text());
        if (answers.empty()) {
            ADD_FAILURE() << "class dialog shown more often than scripted";
            return {};
        }
        CTaxonomyClassAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    FakeClassDialog &Pick(const char *name) {
        answers.push_back({true, false, CString(name)});
        return *this;
    }
    FakeClassDialog &PickNone() {
        answers.push_back({true, true, CString()});
        return *this;
    }
    FakeClassDialog &CancelIt() {
        answers.push_back({});
        return *this;
    }

    std::vector<CTaxonomyTree> trees;
    std::vector<std::string> rejections;

private:
    std::deque<CTaxonomyClassAnswer> answers;
};

// Diseases (hypothesis): Infections {Flu, Cold} with subclass Viral {Flu},
// and Digestive {Ulcer}. Spread (hidden) holds every goal and is never shown.
// Regions (hypothesis): North {Cold}.
class TaxonomyQuestion : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *goal : {"Flu", "Cold", "Ulcer"}) net.AddBayesNode(CString(goal), 0.2f, false, true);
        ASSERT_EQ(net.AddTaxonomy(CString("Spread"), CTaxRoot::kHiddenBoth), 0);
        ASSERT_EQ(net.AddTaxonomy(CString("Diseases"), CTaxRoot::kHypothesis), 0);
        net.AddClass(CString("Diseases"), CString("Infections"));
        net.AddClass(CString("Infections"), CString("Viral"));
        net.AddClass(CString("Diseases"), CString("Digestive"));
        ASSERT_EQ(net.AddTaxonomy(CString("Regions"), CTaxRoot::kHypothesis), 0);
        net.AddClass(CString("Regions"), CString("North"));
        Member("Infections", "Flu");
        Member("Infections", "Cold");
        Member("Viral", "Flu");
        Member("Digestive", "Ulcer");
        Member("North", "Cold");
        for (const char *goal : {"Flu", "Cold", "Ulcer"}) Member("Spread", goal);
        ui.taxonomyList = &list;
        ui.taxonomyClass = &dialog;
    }

    void Member(const char *cls, const char *node) { ASSERT_EQ(net.AddNodeToClass(CString(cls), CString(node)), 0); }

    // The names of the enabled goals, in declaration order.
    std::vector<std::string> Enabled() {
        std::vector<std::string> names;
        for (const char *goal : {"Flu", "Cold", "Ulcer"})
            if (net.FindNode(CString(goal))->enabled) names.emplace_back(goal);
        return names;
    }

    void Disable(const char *goal) { net.FindNode(CString(goal))->enabled = false; }

    static std::string Selected(const CTaxonomyListRow &row) { return row.hasSelectedCell ? row.selected.Text() : "<none>"; }

    CUserInterface ui;
    FakeListWindow list;
    FakeClassDialog dialog;
    CInfTaxNet net;
    CWinTaxonomyRetriever retriever{ui};
};

const std::vector<std::string> kAllGoals{"Flu", "Cold", "Ulcer"};

}  // namespace

TEST_F(TaxonomyQuestion, RowsAndTheClassTree) {
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    dialog.Pick("Viral");
    ASSERT_EQ(retriever.Retrieve(&net), 0);

    // One row per hypothesis taxonomy, in order; hidden ones are left out.
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_STREQ(list.rows[0].taxonomy.Text(), "Diseases");
    EXPECT_STREQ(list.rows[1].taxonomy.Text(), "Regions");
    EXPECT_FALSE(list.rows[1].ticked);
    EXPECT_EQ(Selected(list.rows[1]), "<none>");

    // The dialog showed the row's taxonomy as a depth-first tree.
    ASSERT_EQ(dialog.trees.size(), 1u);
    std::vector<std::string> shown;
    for (const CTaxonomyTreeItem &item : dialog.trees[0])
        shown.push_back(std::string(static_cast<size_t>(item.depth), '.') + item.name.Text());
    EXPECT_EQ(shown, (std::vector<std::string>{"Diseases", ".Infections", "..Viral", ".Digestive"}));

    // The chosen class is in the row, ticked and marked; OK applied it.
    EXPECT_EQ(Selected(list.rows[0]), "Viral");
    EXPECT_TRUE(list.rows[0].ticked);
    EXPECT_TRUE(list.rows[0].selectedMark);
    EXPECT_EQ(Enabled(), (std::vector<std::string>{"Flu"}));
    EXPECT_EQ(net.selectedCount, 0);
}

TEST_F(TaxonomyQuestion, OkWithoutAChoiceEnablesEveryGoal) {
    Disable("Flu");
    Disable("Ulcer");
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(Enabled(), kAllGoals);
    EXPECT_EQ(list.showings, 1);
}

TEST_F(TaxonomyQuestion, ClassesOfTwoTaxonomiesMustBothHold) {
    list.Then([](ITaxonomyListEvents &events) { events.Tick(0); });
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(1); });
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    dialog.Pick("Infections").Pick("North");
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(Enabled(), (std::vector<std::string>{"Cold"}));
    // Ticking made the row current.
    EXPECT_EQ(list.current, 0);
}

TEST_F(TaxonomyQuestion, SelectNoneAndUntickTakeTheClassAway) {
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(1); });
    list.Then([](ITaxonomyListEvents &events) { events.Untick(1); });
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    dialog.Pick("Digestive").PickNone().Pick("North");
    EXPECT_EQ(retriever.Retrieve(&net), 0);

    // "Select None": an empty cell, no mark, no tick.
    EXPECT_EQ(Selected(list.rows[0]), "");
    EXPECT_FALSE(list.rows[0].selectedMark);
    EXPECT_FALSE(list.rows[0].ticked);
    // Unticking: the text and the mark are gone.
    EXPECT_STREQ(list.rows[1].selected.Text(), "");
    EXPECT_FALSE(list.rows[1].selectedMark);
    EXPECT_FALSE(list.rows[1].ticked);
    EXPECT_EQ(Enabled(), kAllGoals);
}

TEST_F(TaxonomyQuestion, CancellingTheClassDialogLeavesTheBoxTicked) {
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.Tick(0); });
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    dialog.Pick("Digestive").CancelIt();
    EXPECT_EQ(retriever.Retrieve(&net), 0);

    // The earlier class is gone, the box and mark stay as ticking left them.
    EXPECT_EQ(Selected(list.rows[0]), "<none>");
    EXPECT_TRUE(list.rows[0].ticked);
    EXPECT_TRUE(list.rows[0].selectedMark);
    EXPECT_EQ(Enabled(), kAllGoals);
}

TEST_F(TaxonomyQuestion, CloseBoxLeavesTheGoalsAsTheyWere) {
    Disable("Cold");
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.Close(); });
    dialog.Pick("Viral");
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(Enabled(), (std::vector<std::string>{"Flu", "Ulcer"}));
}

TEST_F(TaxonomyQuestion, CancelWhileWaitingFails) {
    Disable("Cold");
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([this](ITaxonomyListEvents &) { retriever.Cancel(); });
    dialog.Pick("Viral");
    EXPECT_EQ(retriever.Retrieve(&net), 2);
    EXPECT_FALSE(list.visible);
    EXPECT_EQ(Enabled(), (std::vector<std::string>{"Flu", "Ulcer"}));

    // The next question is not cancelled.
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(Enabled(), kAllGoals);
}

TEST_F(TaxonomyQuestion, AClassNameOutsideTheTreeIsAskedAgain) {
    list.Then([](ITaxonomyListEvents &events) { events.ChooseClass(0); });
    list.Then([](ITaxonomyListEvents &events) { events.Ok(); });
    // North is a class, but of the other taxonomy.
    dialog.Pick("Viruses").Pick("North").Pick("Diseases");
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(dialog.rejections, (std::vector<std::string>{"", kNotAClass, kNotAClass}));
    // The root selects the whole taxonomy.
    EXPECT_EQ(Selected(list.rows[0]), "Diseases");
    EXPECT_EQ(Enabled(), kAllGoals);
}

TEST_F(TaxonomyQuestion, EventsDuringRefillingAreIgnored) {
    // A toolkit that reports its own check-box changes while the rows are
    // shown: an untick arriving then must not take the class away.
    ITaxonomyListEvents *seen = nullptr;
    list.onShowRows = [&] {
        if (seen != nullptr) seen->Untick(0);
    };
    list.Then([&](ITaxonomyListEvents &events) {
        seen = &events;
        events.ChooseClass(0);
    });
    list.Then([](ITaxonomyListEvents &events) {
        events.ChooseClass(7);  // no such row
        events.Tick(-1);
        events.Ok();
    });
    dialog.Pick("Viral");
    EXPECT_EQ(retriever.Retrieve(&net), 0);
    EXPECT_EQ(Selected(list.rows[0]), "Viral");
    EXPECT_EQ(Enabled(), (std::vector<std::string>{"Flu"}));
}

TEST_F(TaxonomyQuestion, OnlyHiddenTaxonomiesAskNothing) {
    CInfTaxNet hidden;
    hidden.AddBayesNode(CString("Flu"), 0.2f, false, true);
    hidden.AddTaxonomy(CString("Spread"), CTaxRoot::kHiddenYes);
    hidden.AddNodeToClass(CString("Spread"), CString("Flu"));
    hidden.FindNode(CString("Flu"))->enabled = false;
    EXPECT_EQ(retriever.Retrieve(&hidden), 0);
    EXPECT_EQ(list.showings, 0);
    EXPECT_FALSE(hidden.FindNode(CString("Flu"))->enabled);

    // Something to ask but no window to ask it in: the question fails.
    ui.taxonomyList = nullptr;
    EXPECT_EQ(retriever.Retrieve(&net), 2);
}
