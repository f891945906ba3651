#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runner/taskSelection.h"
#include "task/task.h"

class Anchors;
class GuiHandOver;
class RunLog;
class TaskListRecovery;
struct RunPosition;
struct ProgramServices;
struct WindowRun;
class TprocessThread;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The program's main window: the task list with its commands.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Status icons of a row.
    static constexpr int iconNone = -1;
    static constexpr int iconRunning = 0;
    static constexpr int iconDone = 1;
    static constexpr int iconFailed = 2;

    explicit TForm1(ProgramServices& services, QWidget* parent = nullptr);
    // A run under way ends at its next test point, quietly: its handlers no longer reach the
    // window. Waits for the tool that is running.
    ~TForm1() override;

    // Rebuilds every row from the task list (all icons none), then updates the commands.
    void RefreshTaskList();
    // Enables the commands that the list, the selection and the run state allow.
    void UpdateControls();
    void setRowIcon(int row, int icon);
    int rowIcon(int row) const;
    // The hover text of a row's task.
    std::string ListView1InfoTip(int row) const;

    void AddTask();
    // One task for each source file, as the editor would make it; one message says what was
    // added and what was skipped.
    void addTasksFromFiles(const std::vector<std::string>& files);
    void ModifySelectedTask();
    void EditTask(const TaskRef& task);
    void RemoveSelectedTask();
    void ShowOptions();
    void btn_clearListClick();
    void ListView1DblClick();
    void ListView1Change();

    // Run control, projects and the about box.
    void btn_StartTasksClick();
    void btn_AbortTasksClick();
    void btn_displayLogClick();
    // A run of the tasks that reported an error or that an abort cut short in the latest run,
    // those of them still in the list.
    void RetryFailedTasks();
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
    bool isRunning = false;
    std::string logFilePath;

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
    QLabel* lab_statusText;
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
    QAction* menu_RetryFailed;
    QAction* PPmenu_RetryFailed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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

    // Run control: the window work of the run's events, handed over by the run's view.
    friend class WindowRunView;
    void showTaskStart(int taskIndex);
    void showStepStart(const std::string& text);
    void showStepDone();
    void showTaskFailed(int taskIndex);
    void showRunPosition(const RunPosition& position);
    void showStatus();
    void onRunFinished();
    std::string endRun();
    void startRun(const TaskNumbers& chosen);
    TaskNumbers rowsToRetry() const;
    // Marks a task of the run, on whichever row the task now has, if any.
    void setTaskIcon(int taskIndex, int icon);

    void keepListForRecovery();
    void listKeptInProject();

    std::shared_ptr<GuiHandOver> handOver_;
    std::unique_ptr<RunLog> runLog_;
    std::unique_ptr<WindowRun> run_;
    std::unique_ptr<TaskListRecovery> recovery_;
    bool recoveryFailureShown_ = false;
    QPointer<QWidget> lastLogViewer_;
    std::string stageText_;        // of the step under way
    std::string runPositionText_;  // where the run stands, after the stage text
    // The list as the latest run started and the icon the run gave each of its tasks: the
    // events name a task by its number in that list, which the list may have changed since.
    std::vector<TaskRef> runTasks_;
    std::vector<int> runIcons_;
    int lastStartedTask_ = -1;
    std::vector<TaskRef> retryTasks_;  // what the latest run leaves to retry
    // The project choosers remember the last file name, each its own.
    std::string lastSavedProject_;
    std::string lastOpenedProject_;
};
