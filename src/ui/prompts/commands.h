#pragma once

#include <QObject>
#include <functional>

class Prompts;
class QWidget;

// Runs a user command. A failure that no handler foresees ends the command and is shown in the
// general error report, so that no exception leaves a Qt slot.
void runCommand(Prompts& prompts, QWidget* parent, const std::function<void()>& command);

// Connects a signal to a handler of a window, run as a command.
template <typename Sender, typename Signal, typename Window>
void connectCommand(Sender* sender, Signal signal, Window* window, void (Window::*handler)(),
                    Prompts& prompts) {
    QObject::connect(sender, signal, window, [window, handler, &prompts] {
        runCommand(prompts, window, [window, handler] { (window->*handler)(); });
    });
}
