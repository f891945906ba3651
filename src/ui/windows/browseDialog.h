#pragma once

#include <string>

class Prompts;
class QWidget;

// Asks the user for a folder. `Folder` is preselected when not empty and receives the choice.
class TBrowseDialog {
public:
    TBrowseDialog(Prompts& prompts, QWidget* owner);

    // True when the user confirmed a folder, which is then in `Folder`; on cancel `Folder` keeps
    // its text.
    bool Execute();

    std::string Folder;
    std::string Title;

private:
    Prompts& prompts_;
    QWidget* owner_;
};
