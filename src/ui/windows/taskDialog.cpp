#include "ui/windows/taskDialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "chapters/chapterList.h"
#include "editing/deletionWarning.h"
#include "editing/okCheck.h"
#include "editing/sourceFiles.h"
#include "editing/sourcePick.h"
#include "editing/sourceStreams.h"
#include "editing/stageView.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "mpeg/streamListing.h"
#include "paths/folderCreation.h"
#include "runner/plan/taskFiles.h"
#include "storage/settings.h"
#include "task/taskChoices.h"
#include "ui/prompts/commands.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"
#include "ui/services/programServices.h"
#include "ui/windows/browseDialog.h"
#include "ui/windows/discChoiceRow.h"
#include "ui/windows/sourceStreamsPanel.h"

namespace {

// Wider than the stages and chapters need: the source's streams are shown on the right.
const QSize dialogSize(1000, 456);
const QSize stageArrowSize(50, 33);
const QSize chapterArrowSize(49, 49);
constexpr int panelWidth = 552;
constexpr int editWidth = 450;
constexpr int browseLeft = 464;

QFrame* panel(QWidget* parent, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(geometry);
    return frame;
}

QLabel* navyLabel(const char* caption, QWidget* parent, const QRect& geometry) {
    auto* label = new QLabel(uiText(caption), parent);
    makeNavy(label);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* edit(QWidget* parent, int top) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(8, top, editWidth, 21);
    return box;
}

QPushButton* button(const char* caption, QWidget* parent, const QRect& geometry) {
    auto* pushButton = new QPushButton(uiText(caption), parent);
    pushButton->setGeometry(geometry);
    pushButton->setAutoDefault(false);
    return pushButton;
}

QPushButton* browseButton(QWidget* parent, int top) {
    return button(language::browseButton, parent, QRect(browseLeft, top - 2, 80, 25));
}

QCheckBox* checkBox(const char* caption, QWidget* parent, const QRect& geometry) {
    auto* box = new QCheckBox(uiText(caption), parent);
    box->setGeometry(geometry);
    return box;
}

QCheckBox* stageBox(const char* caption, QWidget* parent, int top) {
    QCheckBox* box = checkBox(caption, parent, QRect(100, top, 120, 17));
    box->setFont(boldFont(11));
    box->setChecked(true);
    return box;
}

QLabel* picture(QWidget* parent, const QPixmap& pixmap, QPoint position) {
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setGeometry(QRect(position, pixmap.size()));
    return label;
}

}  // namespace

TFormTaskManager::TFormTaskManager(QWidget* owner, TaskRef task, ProgramServices& services)
    : QDialog(owner), task_(std::move(task)), services_(services) {
    buildControls();
    connectHandlers();
    showTask();
}

void TFormTaskManager::buildControls() {
    setWindowTitle(uiText(language::taskManagerCaption));
    setFont(windowFont());
    setFixedSize(dialogSize);

    Panel_source = panel(this, QRect(8, 8, panelWidth, 68));
    navyLabel(language::sourceVobLabel, Panel_source, QRect(8, 4, 400, 16));
    txt_origVOBfilePath = edit(Panel_source, 22);
    btn_BrowseForOriginalVOB = browseButton(Panel_source, 22);
    btn_BrowseForOriginalVOB->setToolTip(uiText(language::browseForOriginalVobHint));
    chb_deleteOrigVob = checkBox(language::deleteVobAfterUse, Panel_source, QRect(8, 46, 300, 17));
    chb_deleteOrigVob->setToolTip(uiText(language::deleteOrigVobHint));

    ImDemuxArrow = picture(this, downArrowPicture(stageArrowSize), QPoint(40, 78));
    chb_Demux = stageBox(language::demuxStage, this, 86);

    Panel_streams = panel(this, QRect(8, 114, panelWidth, 94));
    navyLabel(language::streamsLabel, Panel_streams, QRect(8, 4, 530, 16));
    txt_m2vFilePath = edit(Panel_streams, 22);
    btn_BrowseForVideoStream = browseButton(Panel_streams, 22);
    txt_ac3FilePath = edit(Panel_streams, 48);
    btn_BrowseForAudioStream = browseButton(Panel_streams, 48);
    chb_deleteStreams =
        checkBox(language::deleteStreamsAfterUse, Panel_streams, QRect(8, 72, 300, 17));
    chb_deleteStreams->setToolTip(uiText(language::deleteStreamsHint));

    ImRemuxArrow = picture(this, downArrowPicture(stageArrowSize), QPoint(40, 210));
    chb_remux = stageBox(language::remuxStage, this, 218);

    Panel_remuxed = panel(this, QRect(8, 246, panelWidth, 68));
    navyLabel(language::remuxedVobLabel, Panel_remuxed, QRect(8, 4, 400, 16));
    txt_VOBFilePath = edit(Panel_remuxed, 22);
    btn_BrowseForVob = browseButton(Panel_remuxed, 22);
    btn_BrowseForVob->setToolTip(uiText(language::browseForVobHint));
    chb_deleteVob = checkBox(language::deleteVobAfterUse, Panel_remuxed, QRect(8, 46, 300, 17));
    chb_deleteVob->setToolTip(uiText(language::deleteVobHint));

    ImAuthorArrow = picture(this, downArrowPicture(stageArrowSize), QPoint(40, 316));
    chb_author = stageBox(language::authorStage, this, 324);

    Panel_folder = panel(this, QRect(8, 352, panelWidth, 52));
    navyLabel(language::dvdFolderLabel, Panel_folder, QRect(8, 4, 530, 16));
    txt_DVDfolderPath = edit(Panel_folder, 22);
    btn_BrowseForDVD = browseButton(Panel_folder, 22);

    ImChapterArrow = picture(this, rightArrowPicture(chapterArrowSize), QPoint(563, 310));

    Panel_chapter = panel(this, QRect(614, 8, 113, 396));
    navyLabel(language::chaptersLabel, Panel_chapter, QRect(8, 4, 97, 16));
    btn_ImportChapter = button(language::importButton, Panel_chapter, QRect(8, 22, 97, 25));
    edt_chapterList = new QPlainTextEdit(Panel_chapter);
    edt_chapterList->setGeometry(8, 54, 97, 334);
    edt_chapterList->setLineWrapMode(QPlainTextEdit::NoWrap);
    edt_chapterList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edt_chapterList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edt_chapterList->setToolTip(uiText(language::chapterListHint));
    // Tab goes on to the next control: a chapter line never holds one.
    edt_chapterList->setTabChangesFocus(true);

    btnCancel = button(language::cancelButton, this, QRect(560, 420, 75, 25));
    btnOK = button(language::okButton, this, QRect(648, 420, 75, 25));
    // Return presses OK outside the chapter list, whose lines it ends; Escape cancels.
    btnOK->setDefault(true);

    Panel_sourceStreams = new SourceStreamsPanel(this);
    Panel_sourceStreams->setGeometry(735, 8, 257, 396);

    // Beside the buttons, under the panels: the disc the DVD must fit.
    Row_disc = new DiscChoiceRow(this);
    Row_disc->setGeometry(8, 422, 545, 24);

    // The names the controls are known by outside the dialog, whatever their place.
    const std::pair<QObject*, const char*> names[] = {
        {Panel_source, "Panel_source"},
        {txt_origVOBfilePath, "txt_origVOBfilePath"},
        {chb_deleteOrigVob, "chb_deleteOrigVob"},
        {btn_BrowseForOriginalVOB, "btn_BrowseForOriginalVOB"},
        {ImDemuxArrow, "ImDemuxArrow"},
        {chb_Demux, "chb_Demux"},
        {Panel_streams, "Panel_streams"},
        {txt_m2vFilePath, "txt_m2vFilePath"},
        {btn_BrowseForVideoStream, "btn_BrowseForVideoStream"},
        {txt_ac3FilePath, "txt_ac3FilePath"},
        {btn_BrowseForAudioStream, "btn_BrowseForAudioStream"},
        {chb_deleteStreams, "chb_deleteStreams"},
        {ImRemuxArrow, "ImRemuxArrow"},
        {chb_remux, "chb_remux"},
        {Panel_remuxed, "Panel_remuxed"},
        {txt_VOBFilePath, "txt_VOBFilePath"},
        {chb_deleteVob, "chb_deleteVob"},
        {btn_BrowseForVob, "btn_BrowseForVob"},
        {ImAuthorArrow, "ImAuthorArrow"},
        {chb_author, "chb_author"},
        {Panel_folder, "Panel_folder"},
        {txt_DVDfolderPath, "txt_DVDfolderPath"},
        {btn_BrowseForDVD, "btn_BrowseForDVD"},
        {Panel_chapter, "Panel_chapter"},
        {btn_ImportChapter, "btn_ImportChapter"},
        {edt_chapterList, "edt_chapterList"},
        {ImChapterArrow, "ImChapterArrow"},
        {btnCancel, "btnCancel"},
        {btnOK, "btnOK"},
        {Panel_sourceStreams, "Panel_sourceStreams"},
    };
    for (const auto& [control, name] : names) {
        control->setObjectName(QLatin1String(name));
    }
}

void TFormTaskManager::connectHandlers() {
    Prompts& prompts = services_.prompts;
    // toggled reports every change of state, the program's own included: the handlers rely on it.
    for (QCheckBox* stage : {chb_Demux, chb_remux, chb_author}) {
        connectCommand(stage, &QCheckBox::toggled, this, &TFormTaskManager::disableUselessControls,
                       prompts);
    }
    connectCommand(chb_deleteOrigVob, &QCheckBox::toggled, this,
                   &TFormTaskManager::chb_deleteOrigVobClick, prompts);
    connectCommand(chb_deleteStreams, &QCheckBox::toggled, this,
                   &TFormTaskManager::chb_deleteStreamsClick, prompts);
    connectCommand(chb_deleteVob, &QCheckBox::toggled, this, &TFormTaskManager::chb_deleteVobClick,
                   prompts);
    connectCommand(btn_BrowseForOriginalVOB, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_BrowseForOriginalVOBClick, prompts);
    connectCommand(btn_BrowseForVideoStream, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_BrowseForVideoStreamClick, prompts);
    connectCommand(btn_BrowseForAudioStream, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_BrowseForAudioStreamClick, prompts);
    connectCommand(btn_BrowseForVob, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_BrowseForVobClick, prompts);
    connectCommand(btn_BrowseForDVD, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_BrowseForDVDClick, prompts);
    connectCommand(btn_ImportChapter, &QPushButton::clicked, this,
                   &TFormTaskManager::btn_ImportChapterClick, prompts);
    connect(Row_disc, &DiscChoiceRow::changed, this, &TFormTaskManager::showDiscPrediction);
    for (QLineEdit* start : {txt_origVOBfilePath, txt_m2vFilePath, txt_VOBFilePath}) {
        connect(start, &QLineEdit::editingFinished, this, &TFormTaskManager::showDiscPrediction);
    }
    // A source typed into its box is listed too, once the box is left.
    connect(txt_origVOBfilePath, &QLineEdit::editingFinished, this,
            [this] { showSourceStreams(false); });
    connectCommand(btnOK, &QPushButton::clicked, this, &TFormTaskManager::btnOKClick, prompts);
    connectCommand(btnCancel, &QPushButton::clicked, this, &TFormTaskManager::btnCancelClick,
                   prompts);
}

void TFormTaskManager::showTask() {
    const Ttask& task = *task_;
    chb_Demux->setChecked(task.doDemux);
    chb_remux->setChecked(task.doRemux);
    chb_author->setChecked(task.doAuthor);
    showPaths(task);
    chb_deleteOrigVob->setChecked(task.deleteOrigVob);
    chb_deleteStreams->setChecked(task.deleteStreams);
    chb_deleteVob->setChecked(task.deleteVob);
    Panel_sourceStreams->setKeepEveryAudioTrack(taskChoices::keepsEveryAudioTrack(task));
    Panel_sourceStreams->setKeepEverySubtitleStream(taskChoices::keepsEverySubtitleStream(task));
    Row_disc->showChoices(task);
    showSourceStreams(false);
    disableUselessControls();
}

void TFormTaskManager::showDiscPrediction() {
    Row_disc->showPrediction(boxContents());
}

void TFormTaskManager::showSourceStreams(bool sourceIsNew) {
    const std::string source = chb_Demux->isChecked() ? boxText(txt_origVOBfilePath) : "";
    SourceStreamsPanel::Listed chooseDefaults;
    if (sourceIsNew) {
        chooseDefaults = [this, source](const std::optional<std::string>& listing) {
            const auto streams = listing ? mpeg::parseStreamListing(*listing) : std::nullopt;
            Panel_sourceStreams->setKeepEveryAudioTrack(streams &&
                                                        keepEveryTrackByDefault(*streams));
            Panel_sourceStreams->setKeepEverySubtitleStream(
                streams && keepSubtitlesByDefault(*streams, source));
        };
    }
    Panel_sourceStreams->showSource(services_.settings.values().demuxExePath, source,
                                    chooseDefaults);
}

void TFormTaskManager::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        runCommand(services_.prompts, this, [this] { FormShow(); });
    }
}

void TFormTaskManager::FormShow() {
    if (!task_->chapterList.empty()) {
        showChapterList(task_->chapterList);
    }
}

void TFormTaskManager::disableUselessControls() {
    const StageView view =
        stageView(chb_Demux->isChecked(), chb_remux->isChecked(), chb_author->isChecked());
    // Unchecking Author runs this handler again, as a user's click would.
    if (chb_author->isChecked() != view.author) {
        chb_author->setChecked(view.author);
    }
    ImDemuxArrow->setVisible(view.sourceShown);
    Panel_source->setVisible(view.sourceShown);
    Panel_streams->setVisible(view.streamsShown);
    ImRemuxArrow->setVisible(view.remuxShown);
    chb_deleteStreams->setEnabled(view.remuxShown);
    Panel_remuxed->setVisible(view.remuxedShown);
    for (QWidget* authorPart :
         {static_cast<QWidget*>(ImAuthorArrow), static_cast<QWidget*>(ImChapterArrow),
          static_cast<QWidget*>(Panel_folder), static_cast<QWidget*>(Panel_chapter)}) {
        authorPart->setVisible(view.authorShown);
    }
    chb_deleteVob->setEnabled(view.authorShown);
    showDiscPrediction();
}

std::optional<std::string> TFormTaskManager::choose(FileChooserRequest request,
                                                    std::string& chooserName) {
    request.initialFileName = chooserName;
    std::optional<std::string> chosen = services_.prompts.chooseFile(this, request);
    if (chosen) {
        chooserName = *chosen;
    }
    return chosen;
}

std::optional<std::string> TFormTaskManager::chooseToOpen(const char* title, const char* filter,
                                                          const char* extension,
                                                          const std::string& name) {
    if (!name.empty()) {
        openChooserName_ = name;
    }
    return choose({FileChooserRequest::Purpose::Open, title, filter, extension, {}},
                  openChooserName_);
}

std::optional<std::string> TFormTaskManager::chooseToSave(const char* title, const char* filter,
                                                          const char* extension,
                                                          const std::string& name) {
    saveChooserName_ = name;
    return choose({FileChooserRequest::Purpose::Save, title, filter, extension, {}},
                  saveChooserName_);
}

void TFormTaskManager::browseForSource() {
    const std::optional<std::string> chosen =
        chooseToOpen(language::openVideoSourceTitle, language::sourceVobFilter, "VOB",
                     boxText(txt_origVOBfilePath));
    if (chosen) {
        takeSource(*chosen);
    }
}

std::vector<std::string> TFormTaskManager::browseForSources() {
    const std::string name = boxText(txt_origVOBfilePath);
    if (!name.empty()) {
        openChooserName_ = name;
    }
    const std::vector<std::string> chosen = services_.prompts.chooseFiles(
        this, {FileChooserRequest::Purpose::Open, language::openVideoSourceTitle,
               language::sourceVobFilter, "VOB", openChooserName_});
    if (chosen.size() != 1) {
        return chosen;
    }
    openChooserName_ = chosen.front();
    takeSource(chosen.front());
    return {};
}

void TFormTaskManager::takeSource(const std::string& path) {
    Ttask boxes = boxContents();
    const std::optional<std::string> chapterFile = sourcePick::pickSource(boxes, path);
    chb_Demux->setChecked(boxes.doDemux);
    showPicked(boxes, chapterFile);
    showSourceStreams(true);
}

void TFormTaskManager::deriveFromVideoStream(const std::string& path) {
    Ttask boxes = boxContents();
    const std::optional<std::string> chapterFile = sourcePick::pickVideoStream(boxes, path);
    showPicked(boxes, chapterFile);
}

void TFormTaskManager::showPicked(const Ttask& boxes,
                                  const std::optional<std::string>& chapterFile) {
    showPaths(boxes);
    if (chapterFile) {
        importChapterFile(*chapterFile);
    }
}

void TFormTaskManager::btn_BrowseForOriginalVOBClick() {
    browseForSource();
}

void TFormTaskManager::btn_BrowseForVideoStreamClick() {
    if (!chb_Demux->isChecked()) {
        if (const auto chosen =
                chooseToOpen(language::openStreamSourceTitle, language::videoStreamFilter, "m2v",
                             boxText(txt_m2vFilePath))) {
            deriveFromVideoStream(*chosen);
        }
        return;
    }
    Ttask boxes = boxContents();
    const auto chosen =
        chooseToSave(language::streamDestinationTitle, language::videoStreamFilter, "m2v",
                     sourcePick::proposedName(boxes, sourcePick::Output::videoStream));
    if (chosen) {
        sourcePick::pickStreamDestination(boxes, *chosen);
        showPaths(boxes);
    }
}

void TFormTaskManager::btn_BrowseForAudioStreamClick() {
    const Ttask boxes = boxContents();
    const auto chosen =
        boxes.doDemux
            ? chooseToSave(language::streamDestinationTitle, language::audioStreamFilter, "ac3",
                           sourcePick::proposedName(boxes, sourcePick::Output::audioStream))
            : chooseToOpen(language::openStreamSourceTitle, language::audioStreamFilter, "ac3",
                           boxes.ac3FilePath);
    if (chosen) {
        setBoxText(txt_ac3FilePath, *chosen);
    }
}

void TFormTaskManager::btn_BrowseForVobClick() {
    Ttask boxes = boxContents();
    const auto chosen =
        boxes.doRemux
            ? chooseToSave(language::remuxedVobDestinationTitle, language::vobFilter, "VOB",
                           sourcePick::proposedName(boxes, sourcePick::Output::remuxedVob))
            : chooseToOpen(language::openVideoSourceTitle, language::vobFilter, "VOB",
                           boxes.vobFilePath);
    if (!chosen) {
        return;
    }
    const std::optional<std::string> chapterFile = sourcePick::pickRemuxedVob(boxes, *chosen);
    if (boxes.doRemux && remuxedOverwritesSource(boxes) &&
        warningBox(services_.prompts, this, language::remuxedOverwritesSource,
                   MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    showPicked(boxes, chapterFile);
}

void TFormTaskManager::btn_BrowseForDVDClick() {
    TBrowseDialog browse(services_.prompts, this);
    browse.Title = language::dvdFolderTitle;
    if (!txt_DVDfolderPath->text().isEmpty()) {
        browse.Folder = boxText(txt_DVDfolderPath);
    }
    if (browse.Execute()) {
        setBoxText(txt_DVDfolderPath, browse.Folder);
    }
}

void TFormTaskManager::btn_ImportChapterClick() {
    openChooserName_ = boxText(txt_m2vFilePath);
    const auto chosen = choose({FileChooserRequest::Purpose::Open,
                                language::openChapterFileTitle,
                                language::chapterFileFilter,
                                "txt",
                                {}},
                               openChooserName_);
    if (chosen) {
        importChapterFile(*chosen);
    }
}

void TFormTaskManager::importChapterFile(const std::string& path) {
    task_->chapterList = chapters::importChapterFile(
        path, services_.settings.values().videoStandard, services_.regionalFormats);
    showChapterList(task_->chapterList);
}

void TFormTaskManager::warnOfNoReturn(DeleteBox box) {
    if (deletionHasNoReturn(boxContents(), box)) {
        warningBox(services_.prompts, this, language::pointOfNoReturn);
    }
}

void TFormTaskManager::chb_deleteOrigVobClick() {
    warnOfNoReturn(DeleteBox::origVob);
}

void TFormTaskManager::chb_deleteStreamsClick() {
    warnOfNoReturn(DeleteBox::streams);
}

void TFormTaskManager::chb_deleteVobClick() {
    warnOfNoReturn(DeleteBox::remuxedVob);
}

void TFormTaskManager::btnOKClick() {
    if (const std::string unknown = Row_disc->unknownDiscMessage(); !unknown.empty()) {
        warningBox(services_.prompts, this, unknown);
        return;
    }
    Ttask boxes = boxContents();
    if (remuxedOverwritesSource(boxes) &&
        warningBox(services_.prompts, this, language::sameNameOnOk, MessageButtons::AbortIgnore) ==
            MessageAnswer::Abort) {
        return;
    }
    if (const std::optional<std::string> stream = streamOverwritingSource(boxes)) {
        warningBox(services_.prompts, this, *stream);
        return;
    }
    if (!namesOwnFiles(boxes)) {
        return;
    }
    if (const std::optional<std::string> missing = firstMissingInput(boxes)) {
        warningBox(services_.prompts, this, missingInputMessage(*missing));
        return;
    }
    boxes.chapterList = chapters::buildChapterList(
        chapterBoxLines(), services_.settings.values().videoStandard, services_.regionalFormats);
    *task_ = taskFromBoxes(boxes);
    const std::optional<OutputFolder> output = outputFolderOf(boxes);
    if (output && !createFolderWithParents(output->path)) {
        warningBox(services_.prompts, this, folderNotCreatedMessage(output->namedBy));
        return;
    }
    accept();
}

int TFormTaskManager::taskSharingFilesWith(const Ttask& boxes) const {
    if (taskList_ == nullptr) {
        return -1;
    }
    const std::vector<std::string> files = filesOfTask(boxes);
    for (int index = 0; index < taskList_->count(); ++index) {
        const TaskRef other = taskList_->taskAt(index);
        if (other != task_ && tasksShareAFile(files, filesOfTask(*other))) {
            return index;
        }
    }
    return -1;
}

bool TFormTaskManager::namesOwnFiles(const Ttask& boxes) {
    const int other = taskSharingFilesWith(boxes);
    const auto sameBoxes = [&boxes](const Ttask& shown) {
        return filesOfTask(shown) == filesOfTask(boxes) && shown.doDemux == boxes.doDemux &&
               shown.doRemux == boxes.doRemux && shown.doAuthor == boxes.doAuthor;
    };
    if (other < 0 || (sharingShown_ && sameBoxes(*sharingShown_))) {
        return true;
    }
    // As for sources added together from one folder: what the task writes is named after its
    // own source.
    Ttask renamed = boxes;
    const std::string& source = boxes.doDemux ? boxes.origVobFilePath : boxes.m2vFilePath;
    if (!source.empty()) {
        giveOwnNames(renamed, source);
    }
    if (!source.empty() && taskSharingFilesWith(renamed) < 0) {
        showPaths(renamed);
        informationBox(services_.prompts, this, formatMessage(language::ownNamesForClash, other));
    } else {
        sharingShown_ = boxes;
        warningBox(services_.prompts, this, formatMessage(language::sharedFilesKept, other));
    }
    return false;
}

Ttask TFormTaskManager::boxContents() const {
    Ttask boxes;
    boxes.origVobFilePath = boxText(txt_origVOBfilePath);
    boxes.m2vFilePath = boxText(txt_m2vFilePath);
    boxes.ac3FilePath = boxText(txt_ac3FilePath);
    boxes.vobFilePath = boxText(txt_VOBFilePath);
    boxes.dvdFolderPath = boxText(txt_DVDfolderPath);
    boxes.doDemux = chb_Demux->isChecked();
    boxes.doRemux = chb_remux->isChecked();
    boxes.doAuthor = chb_author->isChecked();
    boxes.deleteOrigVob = chb_deleteOrigVob->isChecked();
    boxes.deleteStreams = chb_deleteStreams->isChecked();
    boxes.deleteVob = chb_deleteVob->isChecked();
    boxes.extraChoices = task_->extraChoices;
    taskChoices::setKeepEveryAudioTrack(boxes, Panel_sourceStreams->keepsEveryAudioTrack());
    taskChoices::setKeepEverySubtitleStream(boxes, Panel_sourceStreams->keepsEverySubtitleStream());
    Row_disc->applyTo(boxes);
    return boxes;
}

void TFormTaskManager::showPaths(const Ttask& boxes) {
    setBoxText(txt_origVOBfilePath, boxes.origVobFilePath);
    setBoxText(txt_m2vFilePath, boxes.m2vFilePath);
    setBoxText(txt_ac3FilePath, boxes.ac3FilePath);
    setBoxText(txt_VOBFilePath, boxes.vobFilePath);
    setBoxText(txt_DVDfolderPath, boxes.dvdFolderPath);
}

void TFormTaskManager::btnCancelClick() {
    reject();
}

std::string TFormTaskManager::boxText(const QLineEdit* box) const {
    return toEightBit(box->text());
}

void TFormTaskManager::setBoxText(QLineEdit* box, const std::string& text) {
    box->setText(toQString(text));
}

std::vector<std::string> TFormTaskManager::chapterBoxLines() const {
    std::vector<std::string> lines;
    for (const QString& line : edt_chapterList->toPlainText().split(QLatin1Char('\n'))) {
        lines.push_back(toEightBit(line));
    }
    return lines;
}

void TFormTaskManager::showChapterList(const std::string& chapterList) {
    edt_chapterList->setPlainText(withQtLineEnds(chapters::displayForm(chapterList)));
}
