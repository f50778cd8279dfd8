// The progress of a batch consultation in its window: the bar and its
// figures while the cases run, Abort and the close request answered between
// cases, and no bar for a consultation without a batch.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "app/batch_progress.h"
#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/main_form.h"
#include "app/result_dialog.h"
#include "app_fixture.h"
#include "consult/consultation_driver.h"
#include "scripted_user.h"

namespace {

constexpr int kCases = 400;

// Every case answers both questions from its row of cases.tsv; a batch
// adds one row per case to verdicts.tsv, a single consultation reads and
// adds the row of case c7.
QByteArray KnowledgeBase(bool batch) {
    QByteArray text = "net {\n";
    text += batch ? "  setparam(batchidbtxtreltab)\n" : "  setparam(dbrecord, c7)\n";
    text += "  setparam(idbtxtreltab, \"cases.tsv\")\n"
            "  setparam(dbheadername, id)\n"
            "  setparam(odbtxtreltab, \"verdicts.tsv\")\n"
            "}\n"
            "nodes {\n"
            "  fever { 'Fever?' (bayesian, 0.3) retriever (dbcf, dncf) }\n"
            "  cough { 'Cough?' (bayesian, 0.2) retriever (dbcf, dncf) }\n"
            "  flu { 'Flu' (bayesian, 0.1, goal) }\n"
            "}\n"
            "rules {\n"
            "  { fever, flu, 0.8, 0.05 }\n"
            "  { cough, flu, 0.6, 0.05 }\n"
            "}\n";
    return text;
}

QByteArray Cases(int count) {
    QByteArray text = "id\tfever\tcough\n";
    for (int i = 1; i <= count; ++i)
        text += QString("c%1\t%2\t%3\n").arg(i).arg(i % 11 - 5).arg(5 - i % 7).toUtf8();
    return text;
}

// The rows under the output file's header; empty when it has none.
QList<QByteArray> OutputRows(const TAppFixture &fixture) {
    QList<QByteArray> lines = fixture.ReadFile(fixture.Dir() + "/verdicts.tsv").split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    return lines;
}

// Every row whole: the key of the next case in turn and flu's value; the
// last line of the file ended with its newline.
bool RowsWhole(const QList<QByteArray> &rows) {
    if (rows.isEmpty() || !rows.back().isEmpty()) return false;
    for (qsizetype i = 0; i + 1 < rows.size(); ++i) {
        const QList<QByteArray> fields = rows[i].split('\t');
        bool number = false;
        if (fields.size() != 2 || fields[0] != "c" + QByteArray::number(i + 1)) return false;
        if (fields[1].toDouble(&number) < 0 || !number) return false;
    }
    return true;
}

// What the bar showed: one entry at every change of its value.
struct TBarTrace {
    QList<int> values;
    int maximum = -1;
    bool hiddenAtAChange = false;
    int shows = 0;
};

class TBarWatcher : public QObject {
public:
    TBarWatcher(TBatchProgress *progress, TBarTrace &trace) : QObject(progress), progress(progress), trace(trace) {
        progress->installEventFilter(this);
        connect(progress->bar, &QProgressBar::valueChanged, this, [this](int value) {
            this->trace.values.append(value);
            this->trace.maximum = this->progress->bar->maximum();
            if (!this->progress->isVisible()) this->trace.hiddenAtAChange = true;
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Show) ++trace.shows;
        return false;
    }

private:
    TBatchProgress *progress;
    TBarTrace &trace;
};

// The next thing the consultation's events bring, once: it reaches the
// window only while a batch lets its events through.
void AtTheNextEvents(TmdiConsult *window, const std::function<void()> &act) {
    QObject::connect(window->batchProgress->bar, &QProgressBar::valueChanged, window, act,
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}

// The output file as a user prepares it: its header, no rows.
void FreshOutput(const TAppFixture &fixture) { fixture.WriteFile("verdicts.tsv", "id\tflu\n"); }

// Opens the knowledge base and starts its consultation in a window.
TmdiConsult *StartConsultation(TAppFixture &fixture, bool batch) {
    fixture.WriteFile("cases.tsv", Cases(kCases));
    FreshOutput(fixture);
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("flu.qvb", KnowledgeBase(batch)), true);
    if (editor == nullptr) return nullptr;
    editor->DoConsult();
    return fixture.ActiveConsultation();
}

bool Unwound(TmdiConsult *window) { return !window->Driver()->InsideConsultation(); }

// What the window and the message boxes said, for a failure's message.
QString Seen(TmdiConsult *window, const TScriptedUser &user) {
    return window->StatusText() + " | " + user.messages.join(" | ");
}

// The consultation the window started has unwound with this status.
bool EndedWith(TmdiConsult *window, const QString &status) {
    return Unwound(window) && window->StatusText() == status;
}

}  // namespace

class BatchProgressTest : public QObject {
    Q_OBJECT

private slots:
    void TheBarFollowsTheCasesToTheEnd();
    void AbortAndCloseArriveBetweenCases();
    void AConsultationWithoutABatchShowsNoBar();
};

void BatchProgressTest::TheBarFollowsTheCasesToTheEnd() {
    TAppFixture fixture;
    TScriptedUser user;
    TmdiConsult *window = StartConsultation(fixture, true);
    QVERIFY(window != nullptr);
    TBarTrace trace;
    new TBarWatcher(window->batchProgress, trace);
    QVERIFY(!window->batchProgress->isVisible());
    QVERIFY2(WaitFor([&] { return EndedWith(window, "Done, consulted ok."); }), qPrintable(Seen(window, user)));

    QCOMPARE(user.messages, QStringList({"Quorvin: Batch consultation finished."}));
    QCOMPARE(trace.shows, 1);
    QCOMPARE(trace.maximum, kCases);
    QVERIFY(!trace.hiddenAtAChange);
    // From the first case to all of them, never back; throttled, so far
    // fewer changes than cases.
    QVERIFY(trace.values.size() >= 2);
    QCOMPARE(trace.values.first(), 0);
    QCOMPARE(trace.values.last(), kCases);
    QVERIFY(std::is_sorted(trace.values.begin(), trace.values.end()));
    QVERIFY(trace.values.size() < kCases / 2);
    QVERIFY2(window->batchProgress->figures->text().startsWith("400/400 cases, "),
             qPrintable(window->batchProgress->figures->text()));
    // The consultation has ended: the bar is gone.
    QVERIFY(!window->batchProgress->isVisible());
    QVERIFY(!window->batchProgress->Shown());
    const QList<QByteArray> rows = OutputRows(fixture);
    QCOMPARE(rows.size(), kCases + 1);
    QVERIFY(RowsWhole(rows));

    // Consulted again, the bar starts over.
    trace.values.clear();
    window->DoConsult();
    QCOMPARE(trace.shows, 2);
    QCOMPARE(trace.values.first(), 0);
    QCOMPARE(trace.values.last(), kCases);
    QVERIFY(!window->batchProgress->isVisible());
}

void BatchProgressTest::AbortAndCloseArriveBetweenCases() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TScriptedUser user;
    TmdiConsult *window = StartConsultation(fixture, true);
    QVERIFY(window != nullptr);

    // Abort, reaching the window through the events the batch lets in at
    // its first case: that case is finished, the batch stops.
    AtTheNextEvents(window, [window] { window->actAbort->trigger(); });
    QVERIFY2(WaitFor([&] { return EndedWith(window, "Consultation aborted."); }), qPrintable(Seen(window, user)));
    QVERIFY(user.messages.isEmpty());
    QList<QByteArray> rows = OutputRows(fixture);
    QCOMPARE(rows.size(), 2);
    QVERIFY(RowsWhole(rows));
    QVERIFY2(window->batchProgress->figures->text().startsWith("1/400 cases"),
             qPrintable(window->batchProgress->figures->text()));
    QVERIFY(!window->batchProgress->isVisible());

    // A close request answered No: the batch runs on to its end.
    FreshOutput(fixture);
    user.answers["Abort consultation?"] = QMessageBox::No;
    AtTheNextEvents(window, [&main] { main.CloseActive(); });
    window->DoConsult();
    QCOMPARE(user.messages, QStringList({"Abort?: Abort consultation?", "Quorvin: Batch consultation finished."}));
    QCOMPARE(window->StatusText(), QString("Done, consulted ok."));
    QCOMPARE(OutputRows(fixture).size(), kCases + 1);

    // Answered Yes: the batch stops after its case, the window stays open
    // until the consultation has unwound, then closes without asking.
    FreshOutput(fixture);
    user.messages.clear();
    user.answers["Abort consultation?"] = QMessageBox::Yes;
    bool openAfterYes = false;
    AtTheNextEvents(window, [&] {
        main.CloseActive();
        openAfterYes = main.Children().contains(window) && window->isVisible();
    });
    window->DoConsult();
    QVERIFY(openAfterYes);
    QCOMPARE(user.messages, QStringList({"Abort?: Abort consultation?"}));
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
    rows = OutputRows(fixture);
    QCOMPARE(rows.size(), 2);
    QVERIFY(RowsWhole(rows));
    main.Activate(window);
    main.CloseActive();
    QTRY_VERIFY(!main.Children().contains(window));
    QCOMPARE(user.messages.size(), 1);
}

void BatchProgressTest::AConsultationWithoutABatchShowsNoBar() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TScriptedUser user;
    TmdiConsult *window = StartConsultation(fixture, false);
    QVERIFY(window != nullptr);
    TBarTrace trace;
    new TBarWatcher(window->batchProgress, trace);
    QStringList result;
    user.Then([&] {
        if (!main.ResultDialog()->isVisible()) return false;
        result.append(main.ResultDialog()->sgResult->item(0, 1)->text());
        main.ResultDialog()->bttOK->click();
        return true;
    });
    QVERIFY2(WaitFor([&] { return user.Done() && Unwound(window); }), qPrintable(Seen(window, user)));
    QCOMPARE(result, QStringList({"flu"}));
    QCOMPARE(window->StatusText(), QString("Done, consulted ok."));
    QCOMPARE(OutputRows(fixture).size(), 2);  // c7's row
    QCOMPARE(trace.shows, 0);
    QVERIFY(trace.values.isEmpty());
    QVERIFY(!window->batchProgress->isVisible());
}

QTEST_MAIN(BatchProgressTest)
#include "batch_progress_test.moc"
