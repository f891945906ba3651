#include "ui/prompts/promptMessageSink.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "ui/prompts/prompts.h"

PromptMessageSink::PromptMessageSink(Prompts& prompts, QWidget* parent)
    : prompts_(prompts), parent_(parent) {}

template <typename Show>
void PromptMessageSink::onGuiThread(const Show& show) {
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) {
        show();
    } else {
        QMetaObject::invokeMethod(application, show, Qt::BlockingQueuedConnection);
    }
}

void PromptMessageSink::showError(const std::string& text) {
    onGuiThread([this, &text] { errorBox(prompts_, parent_.data(), text); });
}

void PromptMessageSink::showWarning(const std::string& text) {
    onGuiThread([this, &text] { warningBox(prompts_, parent_.data(), text); });
}
