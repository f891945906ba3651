#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <filesystem>

#include "language/language.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/optionsDialog.h"

namespace {

class OptionsDialogTest : public GuiTest {
protected:
    std::string iniPath() const { return folder.file("marovink.ini"); }
};

}  // namespace

TEST_F(OptionsDialogTest, ShowsTheSettingsOfTheFile) {
    writeBytes(iniPath(), "[various]\r\nstandard=NTSC\r\n");
    TFormOptions options(nullptr, services);
    const WindowDriver form(options);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(form.text("txt_demuxExe"), programFolder() + platform::defaultDemuxerName);
    EXPECT_EQ(form.text("txt_authorExe"), programFolder() + platform::defaultAuthoringName);
    EXPECT_EQ(form.text("lst_standard"), "NTSC");
    EXPECT_TRUE(form.control<QComboBox>("lst_standard").isEditable());
    EXPECT_EQ(options.windowTitle().toStdString(), "Options");
}

TEST_F(OptionsDialogTest, OkWithAMissingToolStaysOpenThenCancelWritesNothing) {
    TFormOptions options(nullptr, services);
    const WindowDriver form(options);
    QSignalSpy accepted(&options, &QDialog::accepted);
    form.type("txt_muxExe", "/nowhere/mplex ");
    form.type("txt_authorExe", "");
    form.type("lst_standard", "SECAM");
    form.press("btn_ok");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Erreur");
    EXPECT_EQ(prompts.messages[0].text,
              std::string("/nowhere/mplex ") + language::programFileMissing);
    EXPECT_EQ(accepted.count(), 0);

    form.press("btn_cancel");
    EXPECT_EQ(options.result(), QDialog::Rejected);
    // The typed paths stay in effect in memory, untrimmed; the standard was not taken.
    const SettingsValues values = settings.values();
    EXPECT_EQ(values.muxExePath, "/nowhere/mplex ");
    EXPECT_EQ(values.authorExePath, "");
    EXPECT_EQ(values.videoStandard, "PAL");
    EXPECT_FALSE(std::filesystem::exists(iniPath()));

    // Opening again reads the file once more.
    TFormOptions again(nullptr, services);
    EXPECT_EQ(settings.values().muxExePath, programFolder() + platform::defaultMultiplexerName);
}

TEST_F(OptionsDialogTest, OkSavesAStandardTypedByHand) {
    TFormOptions options(nullptr, services);
    const WindowDriver form(options);
    QSignalSpy accepted(&options, &QDialog::accepted);
    form.type("lst_standard", "SECAM");
    form.press("btn_ok");
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(settings.values().videoStandard, "SECAM");
    EXPECT_NE(readBytes(iniPath()).find("[various]\r\nstandard=SECAM\r\n"), std::string::npos);

    TFormOptions closed(nullptr, services);
    WindowDriver(closed).type("lst_standard", "PAL");
    closed.show();
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
    EXPECT_NE(readBytes(iniPath()).find("standard=SECAM"), std::string::npos);
}

TEST_F(OptionsDialogTest, EditBoxesWidenWithTheDialog) {
    TFormOptions options(nullptr, services);
    const WindowDriver form(options);
    const int editWidth = form.geometry("txt_demuxExe").width();
    const int okLeft = form.geometry("btn_ok").x();
    options.show();
    options.resize(options.width() + 40, options.height());
    QApplication::processEvents();
    EXPECT_EQ(form.geometry("txt_demuxExe").width(), editWidth + 40);
    EXPECT_EQ(form.geometry("btn_ok").x(), okLeft + 40);
}

namespace {

const std::string various = "[various]\r\nstandard=PAL\r\n";

struct TasksAtOnceCase {
    const char* fileLine;  // under [various]; nullptr: no settings file
    int shown;
    const char* typed;
    const char* authorTool;  // typed too, when not nullptr
    const char* button;      // nullptr: the close box
    int taken;
    const char* written;  // the line under [various] afterwards; nullptr: the file is untouched
};

const TasksAtOnceCase tasksAtOnceCases[] = {
    {nullptr, 1, "3", nullptr, "btn_ok", 3, "tasks at once=3\r\n"},
    {"tasks at once=4\r\n", 4, "1", nullptr, "btn_ok", 1, "tasks at once=1\r\n"},
    {"tasks at once=65\r\n", 1, "65", nullptr, "btn_ok", 64, "tasks at once=64\r\n"},
    {"tasks at once=4\r\n", 4, "9", "/nowhere/dvdauthor", "btn_ok", 4, nullptr},
    {"tasks at once=4\r\n", 4, "9", nullptr, "btn_cancel", 4, nullptr},
    {"tasks at once=4\r\n", 4, "9", nullptr, nullptr, 4, nullptr},
};

}  // namespace

TEST_F(OptionsDialogTest, TasksAtOnceShownThenTakenOnlyByAValidOk) {
    for (const TasksAtOnceCase& row : tasksAtOnceCases) {
        SCOPED_TRACE(std::string(row.fileLine ? row.fileLine : "no file") + row.typed);
        std::filesystem::remove(iniPath());
        if (row.fileLine != nullptr) {
            writeBytes(iniPath(), various + row.fileLine);
        }
        TFormOptions options(nullptr, services);
        const WindowDriver form(options);
        EXPECT_EQ(form.text("spn_tasksAtOnce"), std::to_string(row.shown));
        form.type("spn_tasksAtOnce", row.typed);
        if (row.authorTool != nullptr) {
            form.type("txt_authorExe", row.authorTool);
        }
        options.show();
        if (row.button != nullptr) {
            form.press(row.button);
        } else {
            options.close();
        }
        EXPECT_EQ(options.isVisible(), row.authorTool != nullptr);
        EXPECT_EQ(settings.values().tasksAtOnce, row.taken);
        if (row.written != nullptr) {
            EXPECT_NE(readBytes(iniPath()).find(various + row.written), std::string::npos);
        } else {
            EXPECT_EQ(readBytes(iniPath()), various + row.fileLine);
        }
    }
}
