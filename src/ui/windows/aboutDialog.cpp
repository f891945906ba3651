#include "ui/windows/aboutDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "language/language.h"
#include "platform/programLocation.h"
#include "ui/qt/anchors.h"
#include "ui/qt/controlName.h"
#include "ui/qt/fileText.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"

namespace {

const QSize clientSize(515, 511);

std::string aboutText() {
    const std::string crLf = "\r\n";
    return std::string(language::aboutAuthorLine) + crLf + language::aboutContact +
           language::aboutContactAddress + crLf + language::aboutWebSite +
           language::webPageAddress + crLf + crLf + language::aboutThanks + crLf +
           language::aboutDemuxer + crLf + language::aboutMultiplexer + crLf +
           language::aboutAuthoring + crLf + language::aboutBothTools + crLf + crLf + crLf + crLf +
           crLf;
}

}  // namespace

TFAbout::TFAbout(QWidget* owner) : QDialog(owner) {
    buildControls();
}

TFAbout::TFAbout(QWidget* owner, const std::string& licencePath) : QDialog(owner) {
    buildControls();
    RichEdit1->setPlainText(readFileText(licencePath));
}

void TFAbout::buildControls() {
    setWindowTitle(uiText(language::aboutCaption));
    setFont(windowFont());
    resize(clientSize);
    auto* anchors = new Anchors(this, clientSize);

    lblProgramNameVersion =
        named(new QLabel(uiText(language::programTitle), this), "lblProgramNameVersion");
    lblProgramNameVersion->setFont(boldFont(13));
    lblProgramNameVersion->setMinimumSize(50, 15);
    // Anchored left and top, it never moves; its width follows its text (setProgramNameVersion).
    lblProgramNameVersion->setGeometry(128, 8, 73, 16);

    Image1 = named(new QLabel(this), "Image1");
    Image1->setPixmap(programPicture(48));
    anchors->place(Image1, QRect(24, 40, 48, 48), anchorLeftTop);

    Label2 = named(new QLabel(withQtLineEnds(aboutText()), this), "Label2");
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label2->setMinimumSize(50, 15);
    anchors->place(Label2, QRect(80, 32, 423, 201), AnchorLeft | AnchorTop | AnchorRight);

    RichEdit1 = named(new QPlainTextEdit(QStringLiteral("RichEdit1"), this), "RichEdit1");
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    anchors->place(RichEdit1, QRect(16, 240, 487, 233), anchorAll);

    btnOK = named(new QPushButton(uiText(language::okButton), this), "btnOK");
    btnOK->setDefault(true);
    anchors->place(btnOK, QRect(218, 479, 60, 25), AnchorLeft | AnchorBottom);
    setTabOrder(RichEdit1, btnOK);

    connect(btnOK, &QPushButton::clicked, this, &TFAbout::btnOKClick);
}

void TFAbout::setProgramNameVersion(const std::string& text) {
    lblProgramNameVersion->setText(toQString(text));
    lblProgramNameVersion->adjustSize();
}

void TFAbout::btnOKClick() {
    accept();
}

void showAboutBox(QWidget* owner, const std::string& programPath) {
    TFAbout box(owner, programLocation::documentPath(programPath, language::licenceFileName));
    box.setProgramNameVersion(programLocation::programName(programPath) + " " +
                              language::programVersion);
    // Centred on the screen the owner is on, not over the owner.
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    QRect frame = box.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    box.move(frame.topLeft());
    box.exec();
}
