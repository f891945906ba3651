#include "ui/prompts/prompts.h"

#include "language/language.h"

MessageAnswer warningBox(Prompts& prompts, QWidget* parent, const std::string& text,
                         MessageButtons buttons) {
    return prompts.showMessage(parent, MessageKind::Warning, language::warningCaption, text,
                               buttons);
}

void errorBox(Prompts& prompts, QWidget* parent, const std::string& text) {
    prompts.showMessage(parent, MessageKind::Error, language::errorCaption, text,
                        MessageButtons::Ok);
}

void informationBox(Prompts& prompts, QWidget* parent, const std::string& text) {
    prompts.showMessage(parent, MessageKind::Information, language::programTitle, text,
                        MessageButtons::Ok);
}

void generalErrorBox(Prompts& prompts, QWidget* parent, const std::string& text) {
    prompts.showMessage(parent, MessageKind::Error, language::programTitle, text,
                        MessageButtons::Ok);
}
