#include "ui/windows/logForm.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "language/language.h"
#include "ui/prompts/commands.h"
#include "ui/qt/anchors.h"
#include "ui/qt/controlName.h"
#include "ui/qt/fileText.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"

namespace {

const QSize clientSize(633, 417);

}  // namespace

TLogForm::TLogForm(QWidget* owner) : QDialog(owner) {
    buildControls();
}

TLogForm::TLogForm(QWidget* owner, std::string path, Prompts& prompts)
    : QDialog(owner), path_(std::move(path)), prompts_(&prompts) {
    buildControls();
    btn_refreshClick();
}

void TLogForm::buildControls() {
    setWindowTitle(uiText(language::logFormCaption));
    setFont(windowFont());
    setModal(false);
    resize(clientSize);
    auto* anchors = new Anchors(this, clientSize);

    edt_textFile = named(new QPlainTextEdit(this), "edt_textFile");
    edt_textFile->setLineWrapMode(QPlainTextEdit::NoWrap);
    edt_textFile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edt_textFile->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    anchors->place(edt_textFile, QRect(0, 0, 633, 384), anchorAll);

    btn_refresh = named(new QPushButton(uiText(language::refreshButton), this), "btn_refresh");
    anchors->place(btn_refresh, QRect(4, 394, 57, 17), AnchorLeft | AnchorBottom);
    btn_OK = named(new QPushButton(uiText(language::okButton), this), "btn_OK");
    btn_OK->setDefault(true);
    anchors->place(btn_OK, QRect(256, 389, 121, 25), AnchorBottom);

    connect(btn_OK, &QPushButton::clicked, this, &TLogForm::btn_OKClick);
    connect(btn_refresh, &QPushButton::clicked, this, [this] {
        if (prompts_ != nullptr) {
            runCommand(*prompts_, this, [this] { btn_refreshClick(); });
        }
    });
}

void TLogForm::btn_OKClick() {
    hide();
}

void TLogForm::btn_refreshClick() {
    edt_textFile->setPlainText(readFileText(path_));
}
