#include "ui/run/windowRun.h"

#include <QProgressBar>

#include "ui/prompts/prompts.h"
#include "ui/run/guiHandOver.h"
#include "ui/windows/mainWindow.h"

HandedOverMessages::HandedOverMessages(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts,
                                       QWidget* window)
    : handOver_(std::move(handOver)), prompts_(prompts), window_(window) {}

void HandedOverMessages::showError(const std::string& text) {
    handOver_->run([this, &text] { errorBox(prompts_, window_, text); });
}

void HandedOverMessages::showWarning(const std::string& text) {
    handOver_->run([this, &text] { warningBox(prompts_, window_, text); });
}

WindowRunView::WindowRunView(std::shared_ptr<GuiHandOver> handOver, TForm1& window)
    : handOver_(std::move(handOver)), window_(window) {}

void WindowRunView::taskStarted(int taskIndex) {
    handOver_->run([this, taskIndex] { window_.showTaskStart(taskIndex); });
}

void WindowRunView::stepStarted(const std::string& text) {
    handOver_->run([this, &text] { window_.showStepStart(text); });
}

void WindowRunView::stepDone(const std::string&) {
    handOver_->run([this] { window_.showStepDone(); });
}

void WindowRunView::taskFailed(const std::string&, int taskIndex) {
    handOver_->run([this, taskIndex] { window_.showTaskFailed(taskIndex); });
}

void WindowRunView::progress(int percentage) {
    handOver_->post([this, percentage] { window_.ProgressBar1->setValue(percentage); });
}

void WindowRunView::runPosition(const RunPosition& position) {
    // Not waited for, as progress: it comes from the monitor's thread too.
    handOver_->post([this, position] { window_.showRunPosition(position); });
}

void WindowRunView::runFinished() {
    // Not waited for: the window's end-of-run handling ends this run.
    handOver_->post([this] { window_.onRunFinished(); });
}

WindowRun::WindowRun(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts, TForm1& window)
    : messages(handOver, prompts, &window), view(std::move(handOver), window) {}
