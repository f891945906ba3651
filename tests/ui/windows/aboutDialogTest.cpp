#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>

#include "language/language.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/mainWindow/startup.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/logForm.h"
#include "ui/windows/taskDialog.h"

namespace {

class AboutDialogTest : public GuiTest {
protected:
    struct Shown {
        std::string label;
        std::string licence;
        std::string text;
        bool readOnly = false;
        QPoint centre;
    };

    // Opens the about box from the menu and closes it with OK, returning what it showed.
    Shown showAbout() {
        Shown shown;
        whenModalShows([&shown](QWidget* modal) {
            auto* box = qobject_cast<TFAbout*>(modal);
            ASSERT_NE(box, nullptr);
            const WindowDriver about(*box);
            shown.label = about.text("lblProgramNameVersion");
            // The whole name shows.
            const auto& label = about.control<QLabel>("lblProgramNameVersion");
            EXPECT_GE(label.width(), label.sizeHint().width());
            shown.licence = about.text("RichEdit1");
            shown.text = about.text("Label2");
            shown.readOnly = about.control<QPlainTextEdit>("RichEdit1").isReadOnly();
            shown.centre = box->frameGeometry().center();
            about.press("btnOK");
        });
        ui.press("menu_About");
        return shown;
    }

    TForm1 window{services};
    const WindowDriver ui{window};
};

}  // namespace

TEST_F(AboutDialogTest, ShowsNameVersionAboutTextAndTheLicenceReadAtEachShowing) {
    writeBytes(folder.file("gpl.txt"), "GNU GENERAL PUBLIC LICENSE\r\nVersion 3\r\n");
    window.show();
    Shown shown = showAbout();
    // Centred on the screen, not over the main window.
    EXPECT_LE((shown.centre - window.screen()->availableGeometry().center()).manhattanLength(), 8)
        << shown.centre.x() << "," << shown.centre.y();
    EXPECT_EQ(shown.label, "marovink 1.3.3");
    EXPECT_EQ(shown.licence, "GNU GENERAL PUBLIC LICENSE\nVersion 3\n");
    EXPECT_TRUE(shown.readOnly);
    const std::vector<std::string> lines = [&] {
        std::vector<std::string> split;
        for (const QString& line : QString::fromStdString(shown.text).split(QLatin1Char('\n'))) {
            split.push_back(line.toStdString());
        }
        return split;
    }();
    ASSERT_EQ(lines.size(), 14u);  // thirteen lines, each ended
    EXPECT_EQ(lines[1].rfind("Contact : ", 0), 0u);
    EXPECT_EQ(lines[2], std::string("Web Site : ") + language::webPageAddress);
    EXPECT_EQ(lines[4], "Many thanks to authors and contributors to projects :");
    EXPECT_EQ(lines[13], "");

    // A renamed program file and a changed licence show at the next showing.
    services.programPath = folder.file("abc.exe");
    writeBytes(folder.file("gpl.txt"), "");
    shown = showAbout();
    EXPECT_EQ(shown.label, "abc 1.3.3");
    EXPECT_EQ(shown.licence, "");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AboutDialogTest, MissingLicenceIsReportedAndNoBoxShows) {
    ui.press("menu_About");  // with no box, nothing modal would ever close
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Marovink");
    EXPECT_EQ(prompts.messages[0].text, "Impossible d'ouvrir le fichier " + folder.file("gpl.txt"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutDialogTest, StartUpMakesHiddenWindowsThatShowNothingOfTheProgram) {
    createHiddenInstances(window, services);
    const auto editors = window.findChildren<TFormTaskManager*>();
    const auto viewers = window.findChildren<TLogForm*>();
    const auto boxes = window.findChildren<TFAbout*>();
    ASSERT_EQ(editors.size(), 1);
    ASSERT_EQ(viewers.size(), 1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_FALSE(editors[0]->isVisible() || viewers[0]->isVisible() || boxes[0]->isVisible());
    EXPECT_EQ(WindowDriver(*viewers[0]).text("edt_textFile"), "");
    EXPECT_EQ(WindowDriver(*boxes[0]).text("RichEdit1"), "RichEdit1");
    EXPECT_EQ(WindowDriver(*boxes[0]).text("lblProgramNameVersion"), "Marovink");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(BundleTest, TheLicenceDesktopEntryAndIconLieBesideTheProgram) {
    EXPECT_NE(readBytes(MAROVINK_BUNDLE_DIR "/gpl.txt").find("Version 3, 29 June 2007"),
              std::string::npos);
    const std::string entry = readBytes(MAROVINK_BUNDLE_DIR "/marovink.desktop");
    EXPECT_NE(entry.find("\nExec=marovink %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=marovink\n"), std::string::npos);
    EXPECT_NE(readBytes(MAROVINK_BUNDLE_DIR "/marovink.svg").find("<svg"), std::string::npos);
}
