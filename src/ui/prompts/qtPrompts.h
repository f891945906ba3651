#pragma once

#include <QStringList>

#include "ui/prompts/prompts.h"

// The prompts as the user sees them: QMessageBox and QFileDialog.
class QtPrompts : public Prompts {
public:
    MessageAnswer showMessage(QWidget* parent, MessageKind kind, const std::string& caption,
                              const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> chooseFile(QWidget* parent,
                                          const FileChooserRequest& request) override;
    std::vector<std::string> chooseFiles(QWidget* parent,
                                         const FileChooserRequest& request) override;
    std::optional<std::string> chooseFolder(QWidget* parent, const std::string& title,
                                            const std::string& folder) override;
};

// "description|pattern|..." as Qt's name filters; a description that does not show its pattern
// gets it in parentheses, which is where Qt reads it.
QStringList qtNameFilters(const std::string& filter);
