#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "files/ioError.h"
#include "language/language.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/promptMessageSink.h"
#include "ui/prompts/qtPrompts.h"
#include "ui/qt/regionalFormatsFromLocale.h"
#include "ui/qt/toolkitTranslation.h"
#include "ui/support/guiTest.h"
#include "ui/support/scriptedPrompts.h"
#include "ui/windows/browseDialog.h"

#include <gtest/gtest.h>

namespace {

// Records on which thread each box was shown.
class ThreadRecordingPrompts : public ScriptedPrompts {
public:
    MessageAnswer showMessage(QWidget* parent, MessageKind kind, const std::string& caption,
                              const std::string& text, MessageButtons buttons) override {
        threads.push_back(QThread::currentThread());
        return ScriptedPrompts::showMessage(parent, kind, caption, text, buttons);
    }

    std::vector<QThread*> threads;
};

}  // namespace

TEST(PromptsTest, UnforeseenFailuresEndInTheGeneralErrorReport) {
    ScriptedPrompts prompts;
    bool after = false;
    runCommand(prompts, nullptr, [&] {
        throw IoError("Disque plein");
        after = true;
    });
    runCommand(prompts, nullptr, [] { throw ConversionError("'x' n'est pas une valeur"); });
    runCommand(prompts, nullptr, [] { throw std::out_of_range("index"); });
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_FALSE(after);
    for (const ShownMessage& message : prompts.messages) {
        EXPECT_EQ(message.kind, MessageKind::Error);
        EXPECT_EQ(message.caption, "Marovink");
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(prompts.messages[0].text, "Disque plein");
    EXPECT_EQ(prompts.messages[2].text, "index");
}

TEST(PromptsTest, MessagesOfAWorkerAreShownOnTheGuiThread) {
    ThreadRecordingPrompts prompts;
    PromptMessageSink sink(prompts, nullptr);
    sink.showError("on the gui thread");

    std::atomic<bool> returned{false};
    std::thread worker([&] {
        sink.showWarning("from a worker");
        returned = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (returned) {
            loop.quit();
        }
    });
    poll.start(5);
    loop.exec();
    worker.join();

    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].caption, "Erreur");
    EXPECT_EQ(prompts.messages[1].caption, "Avertissement");
    EXPECT_EQ(prompts.messages[1].text, "from a worker");
    EXPECT_EQ(prompts.threads[1], QCoreApplication::instance()->thread());
}

TEST(PromptsTest, FolderChooserKeepsItsFolderOnCancel) {
    ScriptedPrompts prompts;
    TBrowseDialog browse(prompts, nullptr);
    browse.Title = "Pick";
    browse.Folder = "/start";
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(browse.Folder, "/start");
    prompts.folderAnswers.push_back(std::string("/chosen"));
    EXPECT_TRUE(browse.Execute());
    EXPECT_EQ(browse.Folder, "/chosen");
    EXPECT_EQ(prompts.folderRequests[0].title, "Pick");
    EXPECT_EQ(prompts.folderRequests[0].folder, "/start");
}

TEST(PromptsTest, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(qtNameFilters(language::sourceVobFilter),
              QStringList({QStringLiteral("Fichiers Mpeg2 DVD (*.VOB)"),
                           QStringLiteral("video stream (*.m2v)")}));
    EXPECT_EQ(qtNameFilters("Text|*.txt"), QStringList({QStringLiteral("Text (*.txt)")}));
}

TEST(PromptsTest, ToolkitSpeaksFrench) {
    ASSERT_TRUE(loadToolkitTranslation(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
}

TEST(PromptsTest, RegionalFormatsOfALocale) {
    const RegionalFormats american =
        regionalFormatsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(american.decimalSeparator, ".");
    EXPECT_EQ(american.thousandsSeparator, ",");
    EXPECT_EQ(american.timeSeparator, ":");
    EXPECT_EQ(american.amText, "AM");
    const RegionalFormats finnish =
        regionalFormatsFromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    EXPECT_EQ(finnish.decimalSeparator, ",");
    EXPECT_EQ(finnish.timeSeparator, ".");
    EXPECT_EQ(finnish.longTimeFormat, QLocale(QLocale::Finnish).timeFormat().toStdString());
}

TEST(PromptsTest, RealBoxesAndChoosersShowWhatTheyAreAsked) {
    loadToolkitTranslation(*QCoreApplication::instance());
    QtPrompts prompts;
    whenModalShows([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Avertissement"));
        EXPECT_EQ(box->text(), QStringLiteral("<first>\nsecond"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->button(QMessageBox::Abort)->text().toStdString(), "Abandonner");
        box->button(QMessageBox::Ignore)->click();
    });
    EXPECT_EQ(warningBox(prompts, nullptr, "<first>\r\nsecond", MessageButtons::AbortIgnore),
              MessageAnswer::Ignore);

    whenModalShows([](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Open the video file source"));
        EXPECT_EQ(chooser->nameFilters().size(), 2);
        EXPECT_EQ(chooser->defaultSuffix(), QStringLiteral("VOB"));
        chooser->reject();
    });
    const FileChooserRequest request{FileChooserRequest::Purpose::Open,
                                     "Open the video file source", language::sourceVobFilter, "VOB",
                                     ""};
    EXPECT_FALSE(prompts.chooseFile(nullptr, request));
}

TEST(PromptsTest, QuestionsDefaultToTheSafeAnswerAndOpenOverTheShownWindow) {
    QtPrompts prompts;
    QWidget mainWindow;
    mainWindow.setGeometry(100, 200, 660, 440);  // room around it for the chooser
    mainWindow.show();
    QDialog notYetShown(&mainWindow);
    const auto overTheMainWindow = [&mainWindow](QWidget* modal) {
        EXPECT_LT((modal->frameGeometry().center() - mainWindow.frameGeometry().center())
                      .manhattanLength(),
                  40)
            << modal->frameGeometry().x() << "," << modal->frameGeometry().y();
    };
    const auto pressEnter = [&](QWidget* modal) {
        overTheMainWindow(modal);
        QTest::keyClick(modal, Qt::Key_Return);
    };
    whenModalShows(pressEnter);
    EXPECT_EQ(warningBox(prompts, &notYetShown, "same name", MessageButtons::AbortIgnore),
              MessageAnswer::Abort);
    whenModalShows(pressEnter);
    EXPECT_EQ(warningBox(prompts, &notYetShown, "overwrite?", MessageButtons::YesNo),
              MessageAnswer::No);
    whenModalShows(pressEnter);
    EXPECT_EQ(warningBox(prompts, &notYetShown, "restore?", MessageButtons::YesNoDefaultYes),
              MessageAnswer::Yes);

    whenModalShows([&](QWidget* modal) {
        overTheMainWindow(modal);
        qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(prompts.chooseFile(&notYetShown, FileChooserRequest{}));
}
