#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/platform.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "ui/services/programServices.h"
#include "ui/support/scriptedPrompts.h"

class QWidget;

// Real widgets on Qt's offscreen platform, with scripted prompts and settings in a fresh folder
// whose three tools exist.
class GuiTest : public ::testing::Test {
protected:
    GuiTest();

    std::string programFolder() const { return folder.path() + "/"; }
    // Writes an empty file (and its folder) at path; returns the path.
    std::string touch(const std::string& path) const;
    void setVideoStandard(const std::string& standard);

    TempFolder folder;
    ScriptedPrompts prompts;
    // Starts processes for real; counts power-off requests instead of switching off.
    std::unique_ptr<SetFreeSpace> platform = std::make_unique<SetFreeSpace>();
    Settings settings;
    ProgramServices services;
};

// Runs action on the modal dialog once the event loop of its exec() is running.
void whenModalShows(const std::function<void(QWidget*)>& action);
