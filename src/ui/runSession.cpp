#include "ui/runSession.h"

#include "ui/guiHandOver.h"
#include "ui/prompts.h"

HandedOverMessages::HandedOverMessages(std::shared_ptr<GuiHandOver> handOver, Prompts& prompts,
                                       QWidget* window)
    : handOver_(std::move(handOver)), prompts_(prompts), window_(window) {}

void HandedOverMessages::showError(const std::string& text) {
    handOver_->run([this, &text] { errorBox(prompts_, window_, text); });
}

void HandedOverMessages::showWarning(const std::string& text) {
    handOver_->run([this, &text] { warningBox(prompts_, window_, text); });
}
