#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompts/prompts.h"

struct ShownMessage {
    MessageKind kind;
    std::string caption;
    std::string text;
    MessageButtons buttons;
};

struct FolderRequest {
    std::string title;
    std::string folder;
};

// Answers boxes and choosers from a script and records what was asked. A box without a scripted
// answer gets its first button; a chooser without one is cancelled.
class ScriptedPrompts : public Prompts {
public:
    MessageAnswer showMessage(QWidget* parent, MessageKind kind, const std::string& caption,
                              const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> chooseFile(QWidget* parent,
                                          const FileChooserRequest& request) override;
    // Several files come from filesAnswers; without one there, the next single-file answer.
    std::vector<std::string> chooseFiles(QWidget* parent,
                                         const FileChooserRequest& request) override;
    std::optional<std::string> chooseFolder(QWidget* parent, const std::string& title,
                                            const std::string& folder) override;

    // Called while a file chooser is open, before it answers.
    std::function<void()> whileChoosingFile;

    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::vector<std::string>> filesAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

    std::vector<ShownMessage> messages;
    std::vector<FileChooserRequest> fileRequests;
    // Which of fileRequests allowed several files.
    std::vector<bool> severalAllowed;
    std::vector<FolderRequest> folderRequests;
};
