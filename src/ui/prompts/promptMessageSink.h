#pragma once

#include <QPointer>
#include <QWidget>

#include "messages/messageSink.h"

class Prompts;

// The core's messages as error and warning boxes. Safe to call from any thread: a call from a
// worker hands the box to the GUI thread and returns once the user has closed it. The GUI thread
// must therefore never wait for a worker that may call it.
class PromptMessageSink : public MessageSink {
public:
    PromptMessageSink(Prompts& prompts, QWidget* parent);

    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;

private:
    template <typename Show>
    void onGuiThread(const Show& show);

    Prompts& prompts_;
    QPointer<QWidget> parent_;
};
