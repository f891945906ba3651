#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "editing/deletionWarning.h"
#include "task/task.h"
#include "ui/prompts/prompts.h"

struct ProgramServices;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SourceStreamsPanel;
class DiscChoiceRow;

// The modal dialog in which one task is created or changed. It edits the task it is given in
// place: on OK, and at once when chapters are imported.
class TFormTaskManager : public QDialog {
    Q_OBJECT

public:
    TFormTaskManager(QWidget* owner, TaskRef task, ProgramServices& services);

    // The list the task is, or is to be, part of: OK then checks that it names no file or
    // folder of another task. Without one, nothing is compared.
    void setTaskList(const TAllTask* list) { taskList_ = list; }

    // Asks for the source video file and proposes the paths derived from it.
    void browseForSource();
    // The same for "Add Task...", whose chooser lets the user pick several files: one is taken
    // as browseForSource takes it; several are returned as they are, for the caller to add each.
    std::vector<std::string> browseForSources();

    // Shows and hides what the checked stages need.
    void disableUselessControls();
    void deriveFromVideoStream(const std::string& path);
    void importChapterFile(const std::string& path);

    void btn_BrowseForOriginalVOBClick();
    void btn_BrowseForVideoStreamClick();
    void btn_BrowseForAudioStreamClick();
    void btn_BrowseForVobClick();
    void btn_BrowseForDVDClick();
    void btn_ImportChapterClick();
    void chb_deleteOrigVobClick();
    void chb_deleteStreamsClick();
    void chb_deleteVobClick();
    void btnOKClick();
    void btnCancelClick();

private:
    QFrame* Panel_source;
    QLineEdit* txt_origVOBfilePath;
    QCheckBox* chb_deleteOrigVob;
    QPushButton* btn_BrowseForOriginalVOB;
    QLabel* ImDemuxArrow;
    QCheckBox* chb_Demux;
    QFrame* Panel_streams;
    QLineEdit* txt_m2vFilePath;
    QPushButton* btn_BrowseForVideoStream;
    QLineEdit* txt_ac3FilePath;
    QPushButton* btn_BrowseForAudioStream;
    QCheckBox* chb_deleteStreams;
    QLabel* ImRemuxArrow;
    QCheckBox* chb_remux;
    QFrame* Panel_remuxed;
    QLineEdit* txt_VOBFilePath;
    QCheckBox* chb_deleteVob;
    QPushButton* btn_BrowseForVob;
    QLabel* ImAuthorArrow;
    QCheckBox* chb_author;
    QFrame* Panel_folder;
    QLineEdit* txt_DVDfolderPath;
    QPushButton* btn_BrowseForDVD;
    QFrame* Panel_chapter;
    QPushButton* btn_ImportChapter;
    QPlainTextEdit* edt_chapterList;
    QLabel* ImChapterArrow;
    QPushButton* btnCancel;
    QPushButton* btnOK;
    SourceStreamsPanel* Panel_sourceStreams;
    DiscChoiceRow* Row_disc;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void showTask();
    // What the task will take on its disc, as the boxes stand.
    void showDiscPrediction();
    void FormShow();
    void takeSource(const std::string& path);
    // Lists the source's streams; a newly picked source also sets the audio choice by them.
    void showSourceStreams(bool sourceIsNew);

    std::optional<std::string> chooseToOpen(const char* title, const char* filter,
                                            const char* extension, const std::string& name);
    std::optional<std::string> chooseToSave(const char* title, const char* filter,
                                            const char* extension, const std::string& name);
    std::optional<std::string> choose(FileChooserRequest request, std::string& chooserName);
    void showPicked(const Ttask& boxes, const std::optional<std::string>& chapterFile);
    void warnOfNoReturn(DeleteBox box);
    // The box texts and check states as a task, for the editing rules to read.
    Ttask boxContents() const;
    void showPaths(const Ttask& boxes);
    std::string boxText(const QLineEdit* box) const;
    void setBoxText(QLineEdit* box, const std::string& text);
    std::vector<std::string> chapterBoxLines() const;
    void showChapterList(const std::string& chapterList);
    // The number of another task of the list that names one of the boxes' files or folders
    // (compared as files); -1 when none does.
    int taskSharingFilesWith(const Ttask& boxes) const;
    // False, with the boxes given names of their own where that helps and the user told, when
    // the boxes name another task's file; true when they do not, or OK is pressed again on
    // what the user was told of.
    bool namesOwnFiles(const Ttask& boxes);

    TaskRef task_;
    ProgramServices& services_;
    // Each chooser keeps the name of its last use for the next one, as one dialog object would.
    std::string openChooserName_;
    std::string saveChooserName_;
    bool shown_ = false;
    const TAllTask* taskList_ = nullptr;
    // The boxes as they were when the user was told that they share a file with another task.
    std::optional<Ttask> sharingShown_;
};
