#include "ui/run/guiHandOver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <future>
#include <memory>

namespace {

// Work handed over, with the promise that frees the waiting worker. The promise is kept when the
// last copy goes: after the work has run, or when Qt discards the queued call unrun.
struct HandedWork {
    explicit HandedWork(std::function<void()> work) : work(std::move(work)) {}
    ~HandedWork() { done.set_value(); }
    HandedWork(const HandedWork&) = delete;
    HandedWork& operator=(const HandedWork&) = delete;

    std::function<void()> work;
    std::promise<void> done;
};

}  // namespace

GuiHandOver::GuiHandOver(QObject* window) : window_(window) {}

void GuiHandOver::run(std::function<void()> work) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (window_ == nullptr) {
        return;
    }
    if (QThread::currentThread() == window_->thread()) {
        lock.unlock();
        work();
        return;
    }
    auto handed = std::make_shared<HandedWork>(std::move(work));
    std::future<void> finished = handed->done.get_future();
    QMetaObject::invokeMethod(
        window_, [handed] { handed->work(); }, Qt::QueuedConnection);
    handed.reset();
    lock.unlock();
    finished.wait();
}

void GuiHandOver::post(std::function<void()> work) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (window_ != nullptr) {
        QMetaObject::invokeMethod(window_, std::move(work), Qt::QueuedConnection);
    }
}

void GuiHandOver::close() {
    QObject* window = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        window = window_;
        window_ = nullptr;
    }
    if (window != nullptr) {
        // Discarding the queued calls frees the workers that wait for them.
        QCoreApplication::removePostedEvents(window, QEvent::MetaCall);
    }
}
