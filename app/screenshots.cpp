// quorvin-screenshots: renders the main windows of the program into PNG
// files, for the manual. Run offscreen (scripts/screenshots):
//
//   quorvin-screenshots KB.qvb OUTPUT_DIRECTORY
//
// The knowledge base is copied into a temporary directory first, so the
// build's help pages and the consultation's reports do not land beside it.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "app/about_box.h"
#include "app/application.h"
#include "app/consult_explanations.h"
#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/explanation_pane.h"
#include "app/main_form.h"
#include "app/net_view.h"
#include "app/option_dialogs.h"
#include "app/question_windows.h"
#include "app/result_dialog.h"
#include "app/settings_option_store.h"
#include "consult/consultation_driver.h"
#include "consult/global_params.h"
#include "consult/inf_control.h"
#include "net/inf_tax_net.h"

namespace {

QString outputDirectory;
int failures = 0;
bool aborted = false;

void Save(QWidget *widget, const QString &name) {
    const QString path = outputDirectory + "/" + name + ".png";
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
}

// Shows a dialog without its own event loop, grabs it and hides it again.
void SaveDialog(QWidget *dialog, const QString &name) {
    dialog->show();
    QApplication::processEvents();
    Save(dialog, name);
    dialog->hide();
}

// The second question, lights_bright, with the engine known not to crank:
// the explanations of the flat battery, the next questions beside the
// question and the net view, the window made larger for them.
void GrabExplanations(TMainForm &main, TmdiConsult *window) {
    QTableWidget *goals = window->Grid(TConsultationList::orderedGoals);
    for (int row = 0; row < goals->rowCount(); ++row)
        if (goals->item(row, 0) != nullptr && goals->item(row, 0)->text() == "flat_battery") goals->setCurrentCell(row, 0);
    const QList<int> heights = window->splitter->sizes();
    const QList<int> widths = window->detailSplitter->sizes();
    main.resize(1400, 1000);
    window->explanations->netViewAction->setChecked(true);
    QApplication::processEvents();
    window->splitter->setSizes({250, 650});
    window->detailSplitter->setSizes({150, 620, 630});
    QApplication::processEvents();
    window->explanations->netView->view->Fit();
    window->explanations->pane->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    Save(window->explanations->pane, "explanation_pane");
    Save(main.Questions().yesNoQuestion, "next_questions");
    Save(window->explanations->netView, "net_view");
    window->explanations->netViewAction->setChecked(false);
    main.resize(1000, 700);
    QApplication::processEvents();
    window->splitter->setSizes(heights);
    window->detailSplitter->setSizes(widths);
    QApplication::processEvents();
}

// The first question of the consultation: grab the consultation and the
// question, then answer "No" to the engine cranking, grab the explanations
// at the second question and abort the rest.
void GrabWhileAsking(TMainForm &main, TmdiConsult *window) {
    TQuestionWindows &questions = main.Questions();
    if (!questions.yesNoQuestion->isVisible()) {
        QTimer::singleShot(50, [&main, window] { GrabWhileAsking(main, window); });
        return;
    }
    Save(&main, "consultation");
    Save(questions.yesNoQuestion, "question_certainty");
    questions.yesNoQuestion->PressCertainty(-5.0f);
    QTimer::singleShot(50, [&main, window] {
        Save(main.Questions().probQuestion->isVisible() ? static_cast<QWidget *>(main.Questions().probQuestion)
                                                        : static_cast<QWidget *>(&main),
             "consultation_second_question");
        GrabExplanations(main, window);
        window->Abort();
        aborted = true;
    });
}

}  // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvin-screenshots KB.qvb OUTPUT_DIRECTORY\n");
        return 64;
    }
    outputDirectory = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputDirectory);
    QTemporaryDir work;
    const QString knowledgeBase = work.path() + "/" + QFileInfo(QString::fromLocal8Bit(argv[1])).fileName();
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), knowledgeBase)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    qputenv("XDG_DATA_HOME", work.path().toUtf8() + "/data");

    TQuorvinApp program(std::make_unique<CSettingsOptionStore>(work.path() + "/quorvin.ini"), false);
    program.Start({knowledgeBase});
    TMainForm &main = program.MainForm();
    main.resize(1000, 700);
    QApplication::processEvents();

    auto *editor = qobject_cast<TmdiEditor *>(main.ActiveChild());
    editor->DoBuildNet();
    QApplication::processEvents();
    Save(&main, "editor");

    // The consultation starts from the event loop; the grabber waits for its
    // first question.
    editor->DoConsult();
    auto *window = qobject_cast<TmdiConsult *>(main.ActiveChild());
    QTimer::singleShot(0, [&main, window] { GrabWhileAsking(main, window); });
    // The consultation runs nested inside these calls until it is aborted.
    while (!aborted || window->Driver()->InsideConsultation()) QApplication::processEvents();
    Save(&main, "consultation_aborted");

    TfrmConsResult *result = main.ResultDialog();
    result->ShowRows(ResultRows(*window->Driver()->Control().Net()));
    SaveDialog(result, "result");
    SaveDialog(result, "result_bars");
    SaveDialog(main.ConsultationOptionsDialog(), "options_consultation");
    SaveDialog(main.GlobalOptionsDialog(), "options_global");
    SaveDialog(main.AboutBox(), "about");
    TQuestionWindows &questions = main.Questions();
    questions.probQuestion->ShowDescription("Is the battery older than five years?");
    SaveDialog(questions.probQuestion, "question_probability");

    // Closing asks nothing: the editor's text is unchanged.
    program.Shutdown();
    return failures == 0 ? 0 : 1;
}
