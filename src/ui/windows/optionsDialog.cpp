#include "ui/windows/optionsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "language/language.h"
#include "storage/settings.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/promptMessageSink.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/anchors.h"
#include "ui/qt/controlName.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"
#include "ui/services/programServices.h"
#include "ui/windows/discChoiceRow.h"

namespace {

// Tall enough for the rows of tasks at once, the disc of new tasks and the tools of the disc
// stages below the standard's.
const QSize designSize(599, 360);
const QSize groupDesignSize(489, 185);
constexpr int rowHeight = 48;

QLabel* boldLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(uiText(text), parent);
    label->setFont(boldFont(11));
    return label;
}

}  // namespace

TFormOptions::TFormOptions(QWidget* owner, ProgramServices& services)
    : QDialog(owner), services_(services) {
    buildControls();
    PromptMessageSink messages(services_.prompts, owner);
    services_.settings.load(messages);
    showValues();
}

void TFormOptions::buildControls() {
    setWindowTitle(uiText(language::optionsCaption));
    setFont(windowFont());
    resize(designSize);
    auto* anchors = new Anchors(this, designSize);

    GroupBox1 = named(new QGroupBox(uiText(language::toolLocationsGroup), this), "GroupBox1");
    anchors->place(GroupBox1, QRect(QPoint(8, 8), groupDesignSize),
                   AnchorLeft | AnchorTop | AnchorRight);
    GroupBox1->resize(groupDesignSize);
    auto* groupAnchors = new Anchors(GroupBox1, groupDesignSize);

    const auto addRow = [&](int row, const char* name, const char* location, QLabel*& nameLabel,
                            QLabel*& locationLabel, QLineEdit*& edit) {
        const int top = 24 + row * rowHeight;
        nameLabel = boldLabel(name, GroupBox1);
        const int nameWidth = nameLabel->sizeHint().width();
        groupAnchors->place(nameLabel, QRect(16, top, nameWidth, 16), anchorLeftTop);
        locationLabel = new QLabel(uiText(location), GroupBox1);
        groupAnchors->place(locationLabel,
                            QRect(16 + nameWidth, top, locationLabel->sizeHint().width(), 16),
                            anchorLeftTop);
        edit = new QLineEdit(GroupBox1);
        groupAnchors->place(edit, QRect(16, top + 18, 457, 21),
                            AnchorLeft | AnchorTop | AnchorRight);
    };
    addRow(0, language::demuxerLabel, language::demuxerLocation, Label1, Label2, txt_demuxExe);
    addRow(1, language::multiplexerLabel, language::multiplexerLocation, Label4, Label3,
           txt_muxExe);
    addRow(2, language::authoringLabel, language::authoringLocation, Label6, Label5, txt_authorExe);
    named(txt_demuxExe, "txt_demuxExe");
    named(txt_muxExe, "txt_muxExe");
    named(txt_authorExe, "txt_authorExe");

    Label7 = named(boldLabel(language::standardLabel, this), "Label7");
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    anchors->place(Label7, QRect(8, 206, 72, 21), anchorLeftTop);
    lst_standard = named(new QComboBox(this), "lst_standard");
    lst_standard->setEditable(true);
    lst_standard->setFont(boldFont(11));
    lst_standard->addItems({uiText(language::palStandard), uiText(language::ntscStandard)});
    anchors->place(lst_standard, QRect(88, 206, 97, 21), anchorLeftTop);
    Label8 = named(new QLabel(uiText(language::standardHint), this), "Label8");
    anchors->place(Label8, QRect(193, 206, 300, 21), anchorLeftTop);

    // The label keeps the standard's column unless its text needs more room than "Standard" had;
    // the spin box and its hint then move right with it.
    lab_tasksAtOnce = named(boldLabel(language::tasksAtOnceLabel, this), "lab_tasksAtOnce");
    lab_tasksAtOnce->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int tasksLabelWidth = std::max(72, lab_tasksAtOnce->sizeHint().width());
    anchors->place(lab_tasksAtOnce, QRect(8, 234, tasksLabelWidth, 21), anchorLeftTop);
    spn_tasksAtOnce = named(new QSpinBox(this), "spn_tasksAtOnce");
    spn_tasksAtOnce->setRange(1, SettingsValues::mostTasksAtOnce);
    spn_tasksAtOnce->setFont(boldFont(11));
    const int spinLeft = 8 + tasksLabelWidth + 8;
    anchors->place(spn_tasksAtOnce, QRect(spinLeft, 234, 57, 21), anchorLeftTop);
    lab_tasksAtOnceHint =
        named(new QLabel(uiText(language::tasksAtOnceHint), this), "lab_tasksAtOnceHint");
    anchors->place(lab_tasksAtOnceHint,
                   QRect(spinLeft + 57 + 8, 234, lab_tasksAtOnceHint->sizeHint().width(), 21),
                   anchorLeftTop);

    // The disc of new tasks, and the tools of the stages a disc adds, under the same column.
    lab_discForNewTasks =
        named(boldLabel(language::discForNewTasksLabel, this), "lab_discForNewTasks");
    lab_requantizerExe = named(boldLabel(language::requantizerLabel, this), "lab_requantizerExe");
    lab_imagerExe = named(boldLabel(language::imagerLabel, this), "lab_imagerExe");
    int lowerLabelWidth = tasksLabelWidth;
    for (QLabel* label : {lab_discForNewTasks, lab_requantizerExe, lab_imagerExe}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lowerLabelWidth = std::max(lowerLabelWidth, label->sizeHint().width());
    }
    const int lowerLeft = 8 + lowerLabelWidth + 8;
    anchors->place(lab_discForNewTasks, QRect(8, 262, lowerLabelWidth, 21), anchorLeftTop);
    cmb_discForNewTasks = named(new QComboBox(this), "cmb_discForNewTasks");
    fillDiscChoices(cmb_discForNewTasks, "");
    anchors->place(cmb_discForNewTasks, QRect(lowerLeft, 262, 97, 21), anchorLeftTop);
    const auto addToolRow = [&](int top, QLabel* nameLabel, QLineEdit*& edit, const char* name) {
        anchors->place(nameLabel, QRect(8, top, lowerLabelWidth, 21), anchorLeftTop);
        edit = named(new QLineEdit(this), name);
        anchors->place(edit, QRect(lowerLeft, top, 497 - lowerLeft, 21),
                       AnchorLeft | AnchorTop | AnchorRight);
    };
    addToolRow(290, lab_requantizerExe, txt_requantizerExe, "txt_requantizerExe");
    addToolRow(318, lab_imagerExe, txt_imagerExe, "txt_imagerExe");

    btn_ok = named(new QPushButton(uiText(language::okButton), this), "btn_ok");
    anchors->place(btn_ok, QRect(512, 16, 75, 25), AnchorRight | AnchorTop);
    btn_cancel = named(new QPushButton(uiText(language::cancelButton), this), "btn_cancel");
    anchors->place(btn_cancel, QRect(512, 48, 75, 25), AnchorRight | AnchorTop);

    connectCommand(btn_ok, &QPushButton::clicked, this, &TFormOptions::btn_okClick,
                   services_.prompts);
    connectCommand(btn_cancel, &QPushButton::clicked, this, &TFormOptions::btn_cancelClick,
                   services_.prompts);
}

void TFormOptions::showValues() {
    const SettingsValues values = services_.settings.values();
    txt_demuxExe->setText(toQString(values.demuxExePath));
    txt_muxExe->setText(toQString(values.muxExePath));
    txt_authorExe->setText(toQString(values.authorExePath));
    lst_standard->setEditText(toQString(values.videoStandard));
    spn_tasksAtOnce->setValue(values.tasksAtOnce);
    fillDiscChoices(cmb_discForNewTasks, values.discForNewTasks);
    txt_requantizerExe->setText(toQString(values.requantizerExePath));
    txt_imagerExe->setText(toQString(values.imagerExePath));
}

void TFormOptions::btn_okClick() {
    Settings& settings = services_.settings;
    SettingsValues values = settings.values();
    values.demuxExePath = toEightBit(txt_demuxExe->text());
    values.muxExePath = toEightBit(txt_muxExe->text());
    values.authorExePath = toEightBit(txt_authorExe->text());
    settings.setValues(values);
    PromptMessageSink messages(services_.prompts, this);
    if (!settings.validateToolPaths(messages)) {
        return;
    }
    values.videoStandard = toEightBit(lst_standard->currentText());
    values.tasksAtOnce = spn_tasksAtOnce->value();
    if (const std::string unknown = unknownDiscMessage(cmb_discForNewTasks); !unknown.empty()) {
        errorBox(services_.prompts, this, unknown);
        return;
    }
    values.discForNewTasks = discNameOf(cmb_discForNewTasks);
    values.requantizerExePath = toEightBit(txt_requantizerExe->text());
    values.imagerExePath = toEightBit(txt_imagerExe->text());
    settings.setValues(values);
    settings.save();
    accept();
}

void TFormOptions::btn_cancelClick() {
    reject();
}
