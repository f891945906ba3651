#pragma once

#include <optional>
#include <string>
#include <vector>

class QWidget;

// Every modal message box and file or folder chooser of the program goes through Prompts, so that
// tests can answer them and see what was shown. Texts are the program's 8-bit texts.

enum class MessageKind { Warning, Error, Information };
// YesNoDefaultYes: a question whose No would lose something, so that Enter answers Yes.
enum class MessageButtons { Ok, AbortIgnore, YesNo, YesNoDefaultYes };
enum class MessageAnswer { Ok, Abort, Ignore, Yes, No, Closed };

struct FileChooserRequest {
    enum class Purpose { Open, Save };
    Purpose purpose = Purpose::Open;
    std::string title;
    // Pairs of description and pattern separated by "|": "video file (*.VOB)|*.VOB".
    std::string filter;
    // Without the dot; added to a typed name that has none.
    std::string defaultExtension;
    std::string initialFileName;
    // A save chooser that asks before an existing file is replaced.
    bool confirmOverwrite = false;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows a modal box and returns the button the user pressed.
    virtual MessageAnswer showMessage(QWidget* parent, MessageKind kind, const std::string& caption,
                                      const std::string& text, MessageButtons buttons) = 0;
    // An open chooser accepts only an existing file; a save chooser an existing folder and any
    // name, asking before an existing file only when the request says so. Nothing when the user
    // cancels.
    virtual std::optional<std::string> chooseFile(QWidget* parent,
                                                  const FileChooserRequest& request) = 0;
    // An open chooser that lets the user pick several existing files at once. Nothing when the
    // user cancels.
    virtual std::vector<std::string> chooseFiles(QWidget* parent,
                                                 const FileChooserRequest& request) = 0;
    // A folder; `folder` is preselected when not empty. Nothing when the user cancels.
    virtual std::optional<std::string> chooseFolder(QWidget* parent, const std::string& title,
                                                    const std::string& folder) = 0;
};

// A warning box captioned "Avertissement".
MessageAnswer warningBox(Prompts& prompts, QWidget* parent, const std::string& text,
                         MessageButtons buttons = MessageButtons::Ok);
// An error box captioned "Erreur", with an OK button.
void errorBox(Prompts& prompts, QWidget* parent, const std::string& text);
// An information box captioned "Marovink", with an OK button.
void informationBox(Prompts& prompts, QWidget* parent, const std::string& text);
// The general error report: stop icon, caption "Marovink", the error's text.
void generalErrorBox(Prompts& prompts, QWidget* parent, const std::string& text);
