#pragma once

#include <functional>
#include <memory>

#include "messages/messageSink.h"
#include "runner/runSession.h"

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

// The run's events shown in a window: each has the window show the task board again, on the
// window's thread while the runner waits; progress, where the run stands and the end of the run
// are handed over unwaited.
class WindowRunView : public RunView {
public:
    struct Display {
        std::function<void()> show;
        std::function<void()> runFinished;
    };

    WindowRunView(std::shared_ptr<GuiHandOver> handOver, Display display);

    void runEvent(const RunEvent& event) override;
    void progress(int percentage) override;
    void runPosition(const RunPosition& position) override;
    void runFinished() override;

private:
    std::shared_ptr<GuiHandOver> handOver_;
    const Display display_;
};

// What one run from the window owns.
struct WindowRun {
    WindowRun(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts, QWidget* window,
              WindowRunView::Display display);

    HandedOverMessages messages;
    WindowRunView view;
    // Last, so that it ends, and stops using the rest, first.
    std::unique_ptr<RunSession> session;
};
