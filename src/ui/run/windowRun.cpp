#include "ui/run/windowRun.h"

#include "ui/prompts/prompts.h"
#include "ui/run/guiHandOver.h"

HandedOverMessages::HandedOverMessages(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts,
                                       QWidget* window)
    : handOver_(std::move(handOver)), prompts_(prompts), window_(window) {}

void HandedOverMessages::showError(const std::string& text) {
    handOver_->run([this, &text] { errorBox(prompts_, window_, text); });
}

void HandedOverMessages::showWarning(const std::string& text) {
    handOver_->run([this, &text] { warningBox(prompts_, window_, text); });
}

WindowRunView::WindowRunView(std::shared_ptr<GuiHandOver> handOver, Display display)
    : handOver_(std::move(handOver)), display_(std::move(display)) {}

void WindowRunView::runEvent(const RunEvent&) {
    handOver_->run(display_.show);
}

void WindowRunView::progress(int) {
    handOver_->post(display_.show);
}

void WindowRunView::runPosition(const RunPosition&) {
    // Not waited for, as progress: it comes from the monitor's thread too.
    handOver_->post(display_.show);
}

void WindowRunView::runFinished() {
    // Not waited for: the window's end-of-run handling ends this run.
    handOver_->post(display_.runFinished);
}

WindowRun::WindowRun(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts, QWidget* window,
                     WindowRunView::Display display)
    : messages(handOver, prompts, window), view(std::move(handOver), std::move(display)) {}
