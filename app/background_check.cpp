#include "app/background_check.h"

TBackgroundCheck::TBackgroundCheck(QObject *parent) : QObject(parent) {}

TBackgroundCheck::~TBackgroundCheck() {
    if (worker.joinable()) worker.join();
}

void TBackgroundCheck::Check(const QByteArray &text) {
    std::string copy(text.constData(), static_cast<size_t>(text.size()));
    if (running) {
        waiting = std::move(copy);
        return;
    }
    Start(std::move(copy));
}

void TBackgroundCheck::Start(std::string text) {
    if (worker.joinable()) worker.join();
    running = true;
    worker = std::thread([this, text = std::move(text)] {
        CTextCheck check = CheckText(text, &registry);
        auto index = std::make_shared<const CSymbolIndex>(CSymbolIndex::Read(text));
        // Delivered on the object's thread; dropped if it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, check = std::move(check), index] { Deliver(check, index); }, Qt::QueuedConnection);
    });
}

void TBackgroundCheck::Deliver(const CTextCheck &check, std::shared_ptr<const CSymbolIndex> index) {
    running = false;
    emit Finished(check, std::move(index));
    if (!waiting) return;
    std::string next = std::move(*waiting);
    waiting.reset();
    Start(std::move(next));
}
