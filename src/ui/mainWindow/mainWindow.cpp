#include "ui/mainWindow/mainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>
#include <iterator>

#include "language/language.h"
#include "runner/state/runLog.h"
#include "storage/settings.h"
#include "storage/taskListRecovery.h"
#include "task/taskChoices.h"
#include "task/taskDescription.h"
#include "ui/mainWindow/taskListDrop.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/promptMessageSink.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/anchors.h"
#include "ui/qt/controlName.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/statusLine.h"
#include "ui/qt/windowLook.h"
#include "ui/run/guiHandOver.h"
#include "ui/run/windowRun.h"
#include "ui/services/programServices.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/optionsDialog.h"
#include "ui/windows/taskDialog.h"

namespace {

const QSize clientSize(589, 385);
const QPoint windowPosition(310, 201);
constexpr int idColumnWidth = 80;

// Tooltips are rich text when they look like it; a path must show as it is. The parser drops one
// line end right after the opening tag: this one, and not the empty first line of a text.
QString plainToolTip(const std::string& hoverText) {
    return QStringLiteral("<p style='white-space:pre'>\n") +
           withQtLineEnds(hoverText).toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace

TForm1::TForm1(ProgramServices& programServices, QWidget* parent)
    : QMainWindow(parent),
      services(programServices),
      handOver_(std::make_shared<GuiHandOver>(this)) {
    buildControls();
    buildMenus();
    connectCommands();
    addKeyboardShortcuts();
    FormCreate();
    recovery_ = std::make_unique<TaskListRecovery>(recoveryFilePath());
}

void TForm1::buildControls() {
    setWindowTitle(uiText(language::programTitle));
    setFont(windowFont());
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->resize(clientSize);
    auto* anchors = new Anchors(client, clientSize);
    buildTaskList(client, anchors);
    buildButtons(client, anchors);
    buildStatusLine(client, anchors);

    // As the controls lie on the screen: the power-off box, the list, then the buttons beside it
    // from the top down.
    QWidget* const tabOrder[] = {chb_stopWhenFinished, ListView1,     btn_StartTasks,
                                 btn_AbortTasks,       btn_addVob,    btn_modifyTask,
                                 btn_removeVob,        btn_clearList, btn_displayLog};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
}

void TForm1::buildTaskList(QWidget* client, Anchors* anchors) {
    // These two texts get the room they need where the font is wider than the designed one.
    chb_stopWhenFinished =
        named(new QCheckBox(uiText(language::stopWhenFinished), client), "chb_stopWhenFinished");
    anchors->place(chb_stopWhenFinished,
                   QRect(16, 10, std::max(217, chb_stopWhenFinished->sizeHint().width()), 17),
                   anchorLeftTop);
    Label1 = named(new QLabel(uiText(language::tasksListLabel), client), "Label1");
    anchors->place(Label1, QRect(16, 40, std::max(112, Label1->sizeHint().width()), 13),
                   anchorLeftTop);

    ListView1 = named(new QTreeWidget(client), "ListView1");
    // A third column, shown during a run, holds each running task's percentage.
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels(
        {uiText(language::idColumn), uiText(language::filenameColumn), QString()});
    ListView1->setHeaderHidden(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    ListView1->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ListView1->setColumnHidden(2, true);
    ListView1->setColumnWidth(0, idColumnWidth);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setToolTip(uiText(language::tasksListHint));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListView1->viewport()->installEventFilter(this);
    new TaskListDrop(ListView1, [this](const std::vector<std::string>& files) {
        runCommand(services.prompts, this, [this, &files] { addTasksFromFiles(files); });
    });
    anchors->place(ListView1, QRect(16, 56, 437, 304), anchorAll);
}

void TForm1::buildButtons(QWidget* client, Anchors* anchors) {
    const auto rightButton = [&](const char* caption, const QRect& geometry, int sides) {
        auto* button = new QPushButton(uiText(caption), client);
        anchors->place(button, geometry, sides);
        return button;
    };
    btn_StartTasks =
        named(rightButton(language::startTasks, QRect(469, 40, 89, 25), AnchorRight | AnchorTop),
              "btn_StartTasks");
    btn_StartTasks->setFont(boldFont(13));
    btn_AbortTasks =
        named(rightButton(language::abortTasks, QRect(469, 72, 89, 25), AnchorRight | AnchorTop),
              "btn_AbortTasks");
    btn_addVob =
        named(rightButton(language::addTask, QRect(471, 136, 89, 25), AnchorRight | AnchorTop),
              "btn_addVob");
    btn_modifyTask =
        named(rightButton(language::modifyTask, QRect(471, 168, 89, 25), AnchorRight | AnchorTop),
              "btn_modifyTask");
    btn_removeVob =
        named(rightButton(language::removeTask, QRect(471, 200, 89, 25), AnchorRight | AnchorTop),
              "btn_removeVob");
    btn_clearList =
        named(rightButton(language::clearAll, QRect(471, 240, 89, 25), AnchorRight | AnchorTop),
              "btn_clearList");
    btn_displayLog = named(
        rightButton(language::displayLog, QRect(472, 298, 89, 25), AnchorRight | AnchorBottom),
        "btn_displayLog");
}

void TForm1::buildStatusLine(QWidget* client, Anchors* anchors) {
    ProgressBar1 = named(new QProgressBar(client), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setStyleSheet(
        QStringLiteral("QProgressBar::chunk { background-color: rgb(0, 160, 0); }"));
    ProgressBar1->setToolTip(uiText(language::destinationSizeHint));
    anchors->place(ProgressBar1, QRect(16, 363, 180, 15), AnchorLeft | AnchorBottom);

    lab_statusText = named(new StatusLine(client), "lab_statusText");
    lab_statusText->setWordWrap(true);
    lab_statusText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lab_statusText->setMinimumHeight(15);
    anchors->place(lab_statusText, QRect(200, 365, 375, 20),
                   AnchorLeft | AnchorRight | AnchorBottom);
}

void TForm1::buildMenus() {
    Project1 = named(menuBar()->addMenu(uiText(language::projectMenu)), "Project1");
    menu_OpenProject =
        named(Project1->addAction(uiText(language::openProjectItem)), "menu_OpenProject");
    menu_SaveProject =
        named(Project1->addAction(uiText(language::saveProjectItem)), "menu_SaveProject");
    menu_exit = named(Project1->addAction(uiText(language::exitItem)), "menu_exit");
    Project1->addSeparator();
    menu_RetryFailed =
        named(Project1->addAction(uiText(language::retryFailedTasks)), "menu_RetryFailed");
    menu_StopAfterRunning = named(Project1->addAction(uiText(language::stopAfterRunningTasks)),
                                  "menu_StopAfterRunning");
    menu_Options = named(menuBar()->addAction(uiText(language::optionsItem)), "menu_Options");
    menu_About = named(menuBar()->addAction(uiText(language::aboutItem)), "menu_About");

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PPmenu_AddTask = named(PopupMenu1->addAction(uiText(language::addTask)), "PPmenu_AddTask");
    PPmenu_ModifyTask =
        named(PopupMenu1->addAction(uiText(language::modifyTask)), "PPmenu_ModifyTask");
    PPmenu_RemoveTask =
        named(PopupMenu1->addAction(uiText(language::removeTask)), "PPmenu_RemoveTask");
    PPmenu_MoveUp = named(PopupMenu1->addAction(uiText(language::moveTaskUp)), "PPmenu_MoveUp");
    PPmenu_MoveDown =
        named(PopupMenu1->addAction(uiText(language::moveTaskDown)), "PPmenu_MoveDown");
    PopupMenu1->addSeparator();
    PPmenu_RetryFailed =
        named(PopupMenu1->addAction(uiText(language::retryFailedTasks)), "PPmenu_RetryFailed");
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at));
    });

    resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());
    move(windowPosition);
}

void TForm1::connectCommands() {
    Prompts& prompts = services.prompts;
    connectCommand(btn_addVob, &QPushButton::clicked, this, &TForm1::AddTask, prompts);
    connectCommand(PPmenu_AddTask, &QAction::triggered, this, &TForm1::AddTask, prompts);
    connectCommand(btn_modifyTask, &QPushButton::clicked, this, &TForm1::ModifySelectedTask,
                   prompts);
    connectCommand(PPmenu_ModifyTask, &QAction::triggered, this, &TForm1::ModifySelectedTask,
                   prompts);
    connectCommand(btn_removeVob, &QPushButton::clicked, this, &TForm1::RemoveSelectedTask,
                   prompts);
    connectCommand(PPmenu_RemoveTask, &QAction::triggered, this, &TForm1::RemoveSelectedTask,
                   prompts);
    connectCommand(PPmenu_MoveUp, &QAction::triggered, this, &TForm1::MoveSelectedTaskUp, prompts);
    connectCommand(PPmenu_MoveDown, &QAction::triggered, this, &TForm1::MoveSelectedTaskDown,
                   prompts);
    connectCommand(btn_clearList, &QPushButton::clicked, this, &TForm1::btn_clearListClick,
                   prompts);
    connectCommand(ListView1, &QTreeWidget::itemDoubleClicked, this, &TForm1::ListView1DblClick,
                   prompts);
    connectCommand(ListView1, &QTreeWidget::itemSelectionChanged, this, &TForm1::ListView1Change,
                   prompts);
    connectCommand(btn_StartTasks, &QPushButton::clicked, this, &TForm1::btn_StartTasksClick,
                   prompts);
    connectCommand(btn_AbortTasks, &QPushButton::clicked, this, &TForm1::btn_AbortTasksClick,
                   prompts);
    connectCommand(btn_displayLog, &QPushButton::clicked, this, &TForm1::btn_displayLogClick,
                   prompts);
    connectCommand(menu_OpenProject, &QAction::triggered, this, &TForm1::menu_OpenProjectClick,
                   prompts);
    connectCommand(menu_SaveProject, &QAction::triggered, this, &TForm1::menu_SaveProjectClick,
                   prompts);
    for (QAction* retry : {menu_RetryFailed, PPmenu_RetryFailed}) {
        connectCommand(retry, &QAction::triggered, this, &TForm1::RetryFailedTasks, prompts);
    }
    connectCommand(menu_StopAfterRunning, &QAction::triggered, this, &TForm1::StopAfterRunningTasks,
                   prompts);
    connectCommand(menu_exit, &QAction::triggered, this, &TForm1::menu_exitClick, prompts);
    connectCommand(menu_Options, &QAction::triggered, this, &TForm1::ShowOptions, prompts);
    connectCommand(menu_About, &QAction::triggered, this, &TForm1::menu_AboutClick, prompts);
}

void TForm1::FormCreate() {
    ListView1->setFocus();
    loadSettingsAtStartUp();
    logFilePath = services.runLogPath;
    // One log for the window's life: the latest step start outlives runs.
    runLog_ = std::make_unique<RunLog>(logFilePath, services.regionalFormats);
    UpdateControls();
    ProgressBar1->hide();
}

void TForm1::loadSettingsAtStartUp() {
    // As creating the options dialog would, and a warning when the file holds nothing usable.
    PromptMessageSink messages(services.prompts, this);
    try {
        services.settings.load(messages);
    } catch (const std::exception& error) {
        // The window still opens, on the built-in settings; the file is left as it is.
        generalErrorBox(services.prompts, this, error.what());
        services.settings.loadDefaults(messages);
    }
}

void TForm1::RefreshTaskList() {
    ListView1->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(taskList.count());
    for (int i = 0; i < taskList.count(); ++i) {
        auto* row = new QTreeWidgetItem(
            {QString::number(i), toQString(taskDescription::firstFileName(*taskList.taskAt(i)))});
        rows.append(row);
    }
    ListView1->addTopLevelItems(rows);
    board_.listRebuilt(taskList);
    UpdateControls();
    keepListForRecovery();
}

void TForm1::UpdateControls() {
    const TaskBoard::Commands commands = board_.commands(selectedRow());
    for (QWidget* edit :
         {static_cast<QWidget*>(btn_modifyTask), static_cast<QWidget*>(btn_removeVob)}) {
        edit->setEnabled(commands.editSelected);
    }
    PPmenu_ModifyTask->setEnabled(commands.editSelected);
    PPmenu_RemoveTask->setEnabled(commands.editSelected);
    const int row = selectedRow();
    PPmenu_MoveUp->setEnabled(commands.editSelected && row > 0);
    PPmenu_MoveDown->setEnabled(commands.editSelected && row + 1 < taskList.count());
    btn_clearList->setEnabled(commands.clear);
    // The end of a run, its power-off countdown included, is no time for either.
    btn_StartTasks->setEnabled(commands.start && !endingRun_);
    btn_AbortTasks->setEnabled(commands.abort && !endingRun_);
    menu_RetryFailed->setEnabled(commands.retry && !endingRun_);
    PPmenu_RetryFailed->setEnabled(commands.retry && !endingRun_);
    menu_StopAfterRunning->setEnabled(commands.stopAfterRunning && !endingRun_);
}

void TForm1::ListView1Change() {
    UpdateControls();
}

bool TForm1::isRunning() const {
    return board_.isRunning() || endingRun_;
}

std::string TForm1::ListView1InfoTip(int row) const {
    // What the latest run reported of the task comes last: the reason for its mark.
    const std::string note = board_.rowNote(row);
    return taskDescription::hoverText(*taskList.taskAt(row)) +
           (note.empty() ? std::string() : "\r\n" + note);
}

int TForm1::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.constFirst());
}

void TForm1::AddTask() {
    const TaskRef task = std::make_shared<Ttask>();
    taskChoices::setDiscName(*task, services.settings.values().discForNewTasks);
    TFormTaskManager editor(this, task, services);
    editor.setTaskList(&taskList);
    // A chapter file that cannot be read is reported, and the editor still opens.
    std::vector<std::string> severalFiles;
    runCommand(services.prompts, this,
               [&editor, &severalFiles] { severalFiles = editor.browseForSources(); });
    if (!severalFiles.empty()) {
        addTasksFromFiles(severalFiles);
        return;
    }
    if (editor.exec() == QDialog::Rejected) {
        return;
    }
    taskList.add(task);
    RefreshTaskList();
}

void TForm1::ModifySelectedTask() {
    const int row = selectedRow();
    if (row >= 0) {
        EditTask(taskList.taskAt(row));
    }
}

void TForm1::EditTask(const TaskRef& task) {
    TFormTaskManager editor(this, task, services);
    editor.setTaskList(&taskList);
    if (editor.exec() != QDialog::Rejected) {
        RefreshTaskList();
    }
}

void TForm1::RemoveSelectedTask() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    taskList.removeAt(row);
    RefreshTaskList();
}

void TForm1::MoveSelectedTask(int places) {
    const int row = selectedRow();
    const int to = row + places;
    if (row < 0 || to < 0 || to >= taskList.count()) {
        return;
    }
    taskList.move(row, to);
    RefreshTaskList();
    ListView1->setCurrentItem(ListView1->topLevelItem(to));
}

void TForm1::MoveSelectedTaskUp() {
    MoveSelectedTask(-1);
}

void TForm1::MoveSelectedTaskDown() {
    MoveSelectedTask(1);
}

void TForm1::btn_clearListClick() {
    taskList.clear();
    RefreshTaskList();
}

void TForm1::ListView1DblClick() {
    const int row = selectedRow();
    if (row >= 0 && board_.rowMark(row) != TaskBoard::Mark::running) {
        ModifySelectedTask();
    }
}

void TForm1::ShowOptions() {
    TFormOptions options(this, services);
    options.exec();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1->viewport() && event->type() == QEvent::ToolTip) {
        return showHoverText(event);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::showHoverText(QEvent* event) {
    const auto* help = static_cast<QHelpEvent*>(event);
    QTreeWidgetItem* item = ListView1->itemAt(help->pos());
    if (item == nullptr) {
        // Away from the rows the list shows its own hint.
        return false;
    }
    const std::string hoverText = ListView1InfoTip(ListView1->indexOfTopLevelItem(item));
    if (hoverText.empty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), plainToolTip(hoverText), ListView1->viewport(),
                           ListView1->visualItemRect(item));
    }
    return true;
}

void TForm1::menu_AboutClick() {
    showAboutBox(this, services.programPath);
}

void TForm1::menu_exitClick() {
    QApplication::quit();
}
