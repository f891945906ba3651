#pragma once

#include <functional>
#include <mutex>

class QObject;

// Carries a worker's window work to the GUI thread for as long as the window lives. Once the
// window is going, work is dropped and a worker that waits for it goes on: a worker never reaches
// a window that no longer exists, and never waits for a GUI thread that no longer serves it.
class GuiHandOver {
public:
    explicit GuiHandOver(QObject* window);

    // Runs work on the window's thread and returns once it has run or been dropped. Called on
    // the window's own thread, it runs at once.
    void run(std::function<void()> work);
    // Queues work for the window's thread and returns at once.
    void post(std::function<void()> work);
    // Window's thread, when the window is going: drops the queued work and refuses more.
    void close();

private:
    std::mutex mutex_;
    QObject* window_;  // null once closed
};
