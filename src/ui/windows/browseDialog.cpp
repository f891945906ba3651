#include "ui/windows/browseDialog.h"

#include "ui/prompts/prompts.h"

TBrowseDialog::TBrowseDialog(Prompts& prompts, QWidget* owner) : prompts_(prompts), owner_(owner) {}

bool TBrowseDialog::Execute() {
    const std::optional<std::string> chosen = prompts_.chooseFolder(owner_, Title, Folder);
    if (!chosen) {
        return false;
    }
    Folder = *chosen;
    return true;
}
