#include "ui/support/scriptedPrompts.h"

namespace {

template <typename Answer>
Answer takeFront(std::deque<Answer>& answers, Answer fallback) {
    if (answers.empty()) {
        return fallback;
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

MessageAnswer firstButton(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::AbortIgnore:
            return MessageAnswer::Abort;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoDefaultYes:
            return MessageAnswer::Yes;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

}  // namespace

MessageAnswer ScriptedPrompts::showMessage(QWidget*, MessageKind kind, const std::string& caption,
                                           const std::string& text, MessageButtons buttons) {
    messages.push_back({kind, caption, text, buttons});
    return takeFront(messageAnswers, firstButton(buttons));
}

std::optional<std::string> ScriptedPrompts::chooseFile(QWidget*,
                                                       const FileChooserRequest& request) {
    fileRequests.push_back(request);
    severalAllowed.push_back(false);
    if (whileChoosingFile) {
        whileChoosingFile();
    }
    return takeFront<std::optional<std::string>>(fileAnswers, std::nullopt);
}

std::vector<std::string> ScriptedPrompts::chooseFiles(QWidget*, const FileChooserRequest& request) {
    fileRequests.push_back(request);
    severalAllowed.push_back(true);
    if (whileChoosingFile) {
        whileChoosingFile();
    }
    if (!filesAnswers.empty()) {
        return takeFront(filesAnswers, std::vector<std::string>());
    }
    const std::optional<std::string> one =
        takeFront<std::optional<std::string>>(fileAnswers, std::nullopt);
    return one ? std::vector<std::string>{*one} : std::vector<std::string>();
}

std::optional<std::string> ScriptedPrompts::chooseFolder(QWidget*, const std::string& title,
                                                         const std::string& folder) {
    folderRequests.push_back({title, folder});
    return takeFront<std::optional<std::string>>(folderAnswers, std::nullopt);
}
