// An error that escapes an event handler is shown, and the program goes on.
#include <QtTest>
#include <stdexcept>

#include "app/guarded_application.h"
#include "scripted_user.h"

namespace {

class TThrowingObject : public QObject {
public:
    int handled = 0;
    bool event(QEvent *e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++handled;
        throw std::runtime_error("disk on fire");
    }
};

}  // namespace

class GuardedApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void EscapedErrorsAreShownAndTheLoopGoesOn();
};

void GuardedApplicationTest::EscapedErrorsAreShownAndTheLoopGoesOn() {
    auto *application = qobject_cast<TGuardedApplication *>(QCoreApplication::instance());
    QVERIFY(application != nullptr);
    TThrowingObject thrower;
    TScriptedUser user;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QVERIFY(WaitFor([&] { return thrower.handled == 2 && user.messages.size() == 2; }));
    QCOMPARE(user.messages, QStringList({"Error: disk on fire", "Error: disk on fire"}));
    QCOMPARE(application->errorsShown, 2);
}

int main(int argc, char **argv) {
    TGuardedApplication application(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "guarded_application_test.moc"
