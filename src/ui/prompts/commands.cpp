#include "ui/prompts/commands.h"

#include <exception>

#include "ui/prompts/prompts.h"

void runCommand(Prompts& prompts, QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        generalErrorBox(prompts, parent, error.what());
    }
}
