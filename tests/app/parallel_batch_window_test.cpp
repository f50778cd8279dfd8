// A batch consulted by jobs from a consultation window: the same output
// file and report as the window alone, the bar counting the jobs' cases,
// Abort stopping them with the rows of a prefix of the keys, and a text
// with unsaved changes consulted by the window alone.
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTextCursor>
#include <QtTest>

#include "app/batch_progress.h"
#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/main_form.h"
#include "app/question_windows.h"
#include "app_fixture.h"
#include "consult/consultation_driver.h"
#include "scripted_user.h"

namespace {

// With `asks`, every case asks the user whether the throat is sore (the
// cases have no such column), which jobs cannot.
QByteArray KnowledgeBase(bool asks = false) {
    QByteArray text = "net {\n"
                      "  setparam(batchidbtxtreltab)\n"
                      "  setparam(idbtxtreltab, \"cases.tsv\")\n"
                      "  setparam(dbheadername, id)\n"
                      "  setparam(odbtxtreltab, \"verdicts.tsv\")\n"
                      "  setparam(prottxt, \"report.txt\")\n"
                      "}\n"
                      "nodes {\n"
                      "  fever { 'Fever?' (bayesian, 0.3) retriever (dbcf, dncf) }\n"
                      "  cough { 'Cough?' (bayesian, 0.2) retriever (dbcf, dncf) }\n"
                      "  flu { 'Flu' (bayesian, 0.1, goal) }\n"
                      "  cold { 'Cold' (bayesian, 0.2, goal) }\n";
    if (asks) text += "  sore { 'Sore throat?' (bayesian, 0.3) retriever (dbcf, wincf) }\n";
    text += "}\n"
            "rules { { fever, flu, 0.8, 0.05 } { cough, flu, 0.6, 0.05 } { cough, cold, 0.7, 0.1 }";
    if (asks) text += " { sore, cold, 0.6, 0.1 }";
    return text + " }\n";
}

QByteArray Cases(int count) {
    QByteArray text = "id\tfever\tcough\n";
    for (int i = 1; i <= count; ++i)
        text += QString("c%1\t%2\t%3\n").arg(i).arg(i % 11 - 5).arg(5 - i % 7).toUtf8();
    return text;
}

// A fixture whose jobs, if any, are run by the console program built here,
// with their private folder where the test can see it.
struct TJobsFixture {
    explicit TJobsFixture(int jobs) {
        qputenv("QUORVIN_CLI", QUORVIN_CLI_PROGRAM);
        QDir(fixture.Dir()).mkdir("tmp");
        qputenv("TMPDIR", (fixture.Dir() + "/tmp").toUtf8());
        fixture.Main().DesktopSettings().SetBatchJobs(jobs);
    }
    ~TJobsFixture() {
        qunsetenv("QUORVIN_CLI");
        qunsetenv("TMPDIR");
    }
    bool JobsFolderExists() const {
        return !QDir(fixture.Dir() + "/tmp").entryList({"quorvin-jobs-*"}, QDir::Dirs).isEmpty();
    }
    // Opens the saved knowledge base and starts its consultation; notes
    // whether jobs ran while the bar moved.
    TmdiConsult *Start(int cases, bool unsaved = false, bool asks = false) {
        fixture.WriteFile("cases.tsv", Cases(cases));
        fixture.WriteFile("verdicts.tsv", "id\tflu\tcold\n");
        TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("flu.qvb", KnowledgeBase(asks)), true);
        if (editor == nullptr) return nullptr;
        if (unsaved) editor->Memo()->textCursor().insertText("// not saved\n");
        editor->DoConsult();
        TmdiConsult *window = fixture.ActiveConsultation();
        if (window != nullptr)
            QObject::connect(window->batchProgress->bar, &QProgressBar::valueChanged, window,
                             [this] { sawJobs = sawJobs || JobsFolderExists(); });
        return window;
    }
    QByteArray Rows() const { return fixture.ReadFile(fixture.Dir() + "/verdicts.tsv"); }

    TAppFixture fixture;
    bool sawJobs = false;
};

bool Ended(TmdiConsult *window, const QString &status) {
    return !window->Driver()->InsideConsultation() && window->StatusText() == status;
}

// The report with its times and the window's caption (which holds the
// time of day) left out.
QString ReportWithoutTimes(const QByteArray &report) {
    QString text = QString::fromUtf8(report);
    text.remove(QRegularExpression("(Name|Started|Finished): [^\n]*"));
    return text;
}

}  // namespace

class ParallelBatchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void JobsGiveTheWindowsOwnOutputs();
    void AbortStopsTheJobsWithAPrefix();
    void UnsavedTextIsConsultedByTheWindowAlone();
    void ABatchThatAsksIsConsultedByTheWindowAlone();
};

void ParallelBatchWindowTest::JobsGiveTheWindowsOwnOutputs() {
    constexpr int kCases = 300;
    QByteArray rows[2];
    QString reports[2];
    for (int jobs : {1, 3}) {
        TJobsFixture run(jobs);
        TScriptedUser user;
        TmdiConsult *window = run.Start(kCases);
        QVERIFY(window != nullptr);
        QVERIFY2(WaitFor([&] { return Ended(window, "Done, consulted ok."); }), qPrintable(window->StatusText()));
        QCOMPARE(user.messages, QStringList({"Quorvin: Batch consultation finished."}));
        QCOMPARE(run.sawJobs, jobs > 1);
        QVERIFY(!run.JobsFolderExists());
        QCOMPARE(window->batchProgress->bar->value(), kCases);
        rows[jobs > 1] = run.Rows();
        const QString report = QString::fromUtf8(run.fixture.ReadFile(run.fixture.Dir() + "/report.txt"));
        reports[jobs > 1] = ReportWithoutTimes(report.toUtf8());
        // The report names the consultation as the window does.
        const QString name = "Name:     " + window->windowTitle() + "\n";
        QVERIFY2(report.contains(name), qPrintable(report + " | " + name));
        QVERIFY(!QDir(run.fixture.Dir()).entryList({"*job-*"}).size());
    }
    QCOMPARE(rows[1].count('\n'), kCases + 1);
    QCOMPARE(rows[1], rows[0]);
    QCOMPARE(reports[1], reports[0]);
}

void ParallelBatchWindowTest::AbortStopsTheJobsWithAPrefix() {
    constexpr int kCases = 20000;
    TJobsFixture run(2);
    TScriptedUser user;
    TmdiConsult *window = run.Start(kCases);
    QVERIFY(window != nullptr);
    QObject::connect(window->batchProgress->bar, &QProgressBar::valueChanged, window,
                     [window] { window->actAbort->trigger(); },
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    QVERIFY2(WaitFor([&] { return Ended(window, "Consultation aborted."); }, 60000),
             qPrintable(window->StatusText()));
    QVERIFY(run.sawJobs);
    const QList<QByteArray> lines = run.Rows().split('\n');
    // The header, whole rows of the keys in their order from the first,
    // fewer than all, and the last line ended.
    QVERIFY(lines.size() > 2);
    QVERIFY(lines.size() < kCases + 2);
    QCOMPARE(lines.back(), QByteArray());
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0], "c" + QByteArray::number(i));
    }
    QVERIFY(!run.JobsFolderExists());
}

void ParallelBatchWindowTest::UnsavedTextIsConsultedByTheWindowAlone() {
    TJobsFixture run(2);
    TScriptedUser user;
    TmdiConsult *window = run.Start(200, true);
    QVERIFY(window != nullptr);
    QVERIFY2(WaitFor([&] { return Ended(window, "Done, consulted ok."); }), qPrintable(window->StatusText()));
    QVERIFY(!run.sawJobs);
    QCOMPARE(run.Rows().count('\n'), 201);
}

// The jobs give a batch that must ask back to the window, which asks every
// case; the bar counts the window's cases from the first, so that it ends
// at all of them.
void ParallelBatchWindowTest::ABatchThatAsksIsConsultedByTheWindowAlone() {
    constexpr int kCases = 6;
    TJobsFixture run(2);
    TScriptedUser user;
    TQuestionWindows &questions = run.fixture.Main().Questions();
    int asked = 0;
    user.Then([&] {
        if (questions.yesNoQuestion->isVisible()) {
            ++asked;
            questions.yesNoQuestion->certaintyButtons[8]->click();
        }
        return asked == kCases;
    });
    TmdiConsult *window = run.Start(kCases, false, true);
    QVERIFY(window != nullptr);
    QVERIFY2(WaitFor([&] { return Ended(window, "Done, consulted ok."); }), qPrintable(window->StatusText()));
    QCOMPARE(asked, kCases);
    QCOMPARE(user.messages, QStringList({"Quorvin: Batch consultation finished."}));
    QCOMPARE(run.Rows().count('\n'), kCases + 1);
    QCOMPARE(window->batchProgress->bar->value(), kCases);
    QVERIFY2(window->batchProgress->figures->text().startsWith("6/6 cases, "),
             qPrintable(window->batchProgress->figures->text()));
}

QTEST_MAIN(ParallelBatchWindowTest)
#include "parallel_batch_window_test.moc"
