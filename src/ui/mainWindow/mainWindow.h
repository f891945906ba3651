#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runner/state/taskBoard.h"
#include "task/task.h"

class Anchors;
class GuiHandOver;
class RunLog;
class TaskListRecovery;
struct ProgramServices;
struct WindowRun;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class StatusLine;

// The program's main window: the task list with its commands. It shows the rows, the gauge and
// the status line as its task board holds them.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(ProgramServices& services, QWidget* parent = nullptr);
    // A run under way ends at its next test point, quietly: its handlers no longer reach the
    // window. Waits for the tool that is running.
    ~TForm1() override;

    // Rebuilds every row from the task list (all marks cleared), then updates the commands.
    void RefreshTaskList();
    // Enables the commands that the list, the selection and the run state allow.
    void UpdateControls();
    // Shows the board as it stands: row marks, gauge, status line, caption and commands.
    void showRun();
    const TaskBoard& board() const { return board_; }
    // From Start until the end of the run has been dealt with, the power-off countdown included.
    bool isRunning() const;
    // The hover text of a row's task.
    std::string ListView1InfoTip(int row) const;

    void AddTask();
    // One task for each source file, as the editor would make it; one message says what was
    // added and what was skipped.
    void addTasksFromFiles(const std::vector<std::string>& files);
    void ModifySelectedTask();
    void EditTask(const TaskRef& task);
    void RemoveSelectedTask();
    // Moves the selected task one place up (-1) or down (1), and keeps it selected.
    void MoveSelectedTask(int places);
    void MoveSelectedTaskUp();
    void MoveSelectedTaskDown();
    void ShowOptions();
    void btn_clearListClick();
    void ListView1DblClick();
    void ListView1Change();

    // Run control, projects and the about box.
    void btn_StartTasksClick();
    void btn_AbortTasksClick();
    void btn_displayLogClick();
    // A run of the tasks of the latest run that reported an error, were cut short or were never
    // reached, those of them still in the list.
    void RetryFailedTasks();
    // The running tasks go on to their end; no other starts, and those stay for a retry.
    void StopAfterRunningTasks();
    void menu_OpenProjectClick();
    void menu_SaveProjectClick();
    void menu_AboutClick();
    void menu_exitClick();
    void SaveProject();
    // Loads the named project, or the one the user picks when none is named.
    void LoadProject(const std::optional<std::string>& named = std::nullopt);
    // Opens a project named on the command line, reporting a failure as the Open command does.
    void openProjectFile(const std::string& path);

    // The task list kept for a restart in the folder of the settings file.
    std::string recoveryFilePath() const;
    const TaskListRecovery& listRecovery() const { return *recovery_; }
    // Start-up: offers back, or reports, what the recovery file holds; true when a list was
    // restored.
    bool offerListRecovery();
    // Start-up once the window is shown: the recovery file's list, then the project named on the
    // command line, which is not opened over a restored list (a box says why).
    void startUp(const std::optional<std::string>& namedProject);

    ProgramServices& services;
    TAllTask taskList;
    std::string logFilePath;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* chb_stopWhenFinished;
    QLabel* Label1;
    QTreeWidget* ListView1;
    QPushButton* btn_StartTasks;
    QPushButton* btn_AbortTasks;
    QPushButton* btn_addVob;
    QPushButton* btn_modifyTask;
    QPushButton* btn_removeVob;
    QPushButton* btn_clearList;
    QPushButton* btn_displayLog;
    QProgressBar* ProgressBar1;
    StatusLine* lab_statusText;
    QMenu* Project1;
    QAction* menu_OpenProject;
    QAction* menu_SaveProject;
    QAction* menu_exit;
    QAction* menu_Options;
    QAction* menu_About;
    QMenu* PopupMenu1;
    QAction* PPmenu_AddTask;
    QAction* PPmenu_ModifyTask;
    QAction* PPmenu_RemoveTask;
    QAction* PPmenu_MoveUp;
    QAction* PPmenu_MoveDown;
    QAction* menu_RetryFailed;
    QAction* menu_StopAfterRunning;
    QAction* PPmenu_RetryFailed;

    void buildControls();
    void buildTaskList(QWidget* client, Anchors* anchors);
    void buildButtons(QWidget* client, Anchors* anchors);
    void buildStatusLine(QWidget* client, Anchors* anchors);
    void buildMenus();
    void connectCommands();
    void addKeyboardShortcuts();
    void FormCreate();
    void loadSettingsAtStartUp();
    int selectedRow() const;
    bool showHoverText(QEvent* event);

    void showStatusLine();
    // Each row's mark, and each running task's share of its work done.
    void showMarks();
    void onRunFinished();
    void tellDesktopTheRunEnded();
    std::string endRun();
    // A retry names the inputs the latest run deleted of each row, as the board gives them.
    void startRun(const TaskNumbers& chosen,
                  std::map<int, std::vector<std::string>> deletedEarlier = {});

    void keepListForRecovery();
    // The title between runs: the program, the project's file name, and " *" while the list
    // holds changes that no save keeps.
    QString idleTitle() const;
    // The run's caption during a run, the idle title otherwise.
    void showTitle();
    void listKeptInProject();

    std::shared_ptr<GuiHandOver> handOver_;
    std::unique_ptr<RunLog> runLog_;
    // Before the run, which reports into it until it ends.
    TaskBoard board_;
    std::unique_ptr<WindowRun> run_;
    // While the end of a run is dealt with: Start and Abort stay off, the countdown included.
    bool endingRun_ = false;
    std::unique_ptr<TaskListRecovery> recovery_;
    bool recoveryFailureShown_ = false;
    QPointer<QWidget> lastLogViewer_;
    // The project choosers remember the last file name, each its own.
    std::string lastSavedProject_;
    std::string lastOpenedProject_;
    // The project the list was last opened from or saved to; empty for a list of no project.
    std::string project_;
};
