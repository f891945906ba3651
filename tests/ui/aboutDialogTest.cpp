#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "language/language.h"
#include "ui/support/guiTest.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/logForm.h"
#include "ui/windows/mainWindow.h"
#include "ui/windows/startup.h"
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
            shown.label = box->lblProgramNameVersion->text().toStdString();
            // The whole name shows.
            EXPECT_GE(box->lblProgramNameVersion->width(),
                      box->lblProgramNameVersion->sizeHint().width());
            shown.licence = box->RichEdit1->toPlainText().toStdString();
            shown.text = box->Label2->text().toStdString();
            shown.readOnly = box->RichEdit1->isReadOnly();
            shown.centre = box->frameGeometry().center();
            box->btnOK->click();
        });
        window.menu_About->trigger();
        return shown;
    }

    TForm1 window{services};
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
    window.menu_About->trigger();  // with no box, nothing modal would ever close
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
    EXPECT_TRUE(viewers[0]->edt_textFile->toPlainText().isEmpty());
    EXPECT_EQ(boxes[0]->RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));
    EXPECT_EQ(boxes[0]->lblProgramNameVersion->text(), QStringLiteral("Marovink"));
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
