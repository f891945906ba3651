#pragma once

#include <memory>

#include "messages/messageSink.h"
#include "runner/processThreadUnit.h"
#include "runner/progressThreadUnit.h"

class GuiHandOver;
class Prompts;
class QWidget;

// The runner's messages (a tool that cannot be started) as boxes over the window, shown through
// the hand-over: nothing is shown once the window is going.
class HandedOverMessages : public MessageSink {
public:
    HandedOverMessages(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts, QWidget* window);

    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;

private:
    std::shared_ptr<GuiHandOver> handOver_;
    Prompts& prompts_;
    QWidget* window_;
};

// What one run from the window owns.
struct RunSession {
    RunSession(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts, QWidget* window)
        : messages(std::move(handOver), prompts, window) {}

    HandedOverMessages messages;
    // The monitor of the current step; made and ended by the runner's handlers on its thread.
    std::unique_ptr<TprogressThread> monitor;
    // Last, so that it ends (and stops using the rest) first.
    std::unique_ptr<TprocessThread> runner;
};
