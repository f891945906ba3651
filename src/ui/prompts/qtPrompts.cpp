#include "ui/prompts/qtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt/qtText.h"

namespace {

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::AbortIgnore:
            return QMessageBox::Abort | QMessageBox::Ignore;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoDefaultYes:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

MessageAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Abort:
            return MessageAnswer::Abort;
        case QMessageBox::Ignore:
            return MessageAnswer::Ignore;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Closed;
    }
}

// The answer that changes nothing is what Enter chooses in a question box.
QMessageBox::StandardButton safeButton(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::AbortIgnore:
            return QMessageBox::Abort;
        case MessageButtons::YesNo:
            return QMessageBox::No;
        case MessageButtons::YesNoDefaultYes:
            return QMessageBox::Yes;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// A box or chooser opens over the nearest window that is shown: a dialog asks questions before it
// appears itself (the task editor picks its source first), and Qt would place a box over a hidden
// owner at the screen's corner.
QWidget* shownOwner(QWidget* parent) {
    while (parent != nullptr && !parent->isVisible()) {
        parent = parent->parentWidget();
    }
    return parent;
}

// Qt's own chooser speaks the French of the loaded translation on every desktop, and its patterns
// ignore letter case, so that *.VOB also shows movie.vob. The option must come first.
void useQtChooser(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
}

std::optional<std::string> firstSelected(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toEightBitPath(dialog.selectedFiles().constFirst());
}

// The chooser a request asks for, with the user's own choosing still to come.
void setUpFileChooser(QFileDialog& dialog, const FileChooserRequest& request) {
    useQtChooser(dialog);
    dialog.setWindowTitle(toQString(request.title));
    dialog.setNameFilters(qtNameFilters(request.filter));
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    if (request.purpose == FileChooserRequest::Purpose::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    if (!request.initialFileName.empty()) {
        dialog.selectFile(toQString(request.initialFileName));
    }
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        filters << (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

MessageAnswer QtPrompts::showMessage(QWidget* parent, MessageKind kind, const std::string& caption,
                                     const std::string& text, MessageButtons buttons) {
    const QMessageBox::Icon icon = kind == MessageKind::Warning       ? QMessageBox::Warning
                                   : kind == MessageKind::Information ? QMessageBox::Information
                                                                      : QMessageBox::Critical;
    QMessageBox box(icon, toQString(caption), withQtLineEnds(text), standardButtons(buttons),
                    shownOwner(parent));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(safeButton(buttons));
    return answerOf(box.exec());
}

std::optional<std::string> QtPrompts::chooseFile(QWidget* parent,
                                                 const FileChooserRequest& request) {
    QFileDialog dialog(shownOwner(parent));
    setUpFileChooser(dialog, request);
    return firstSelected(dialog);
}

std::vector<std::string> QtPrompts::chooseFiles(QWidget* parent,
                                                const FileChooserRequest& request) {
    QFileDialog dialog(shownOwner(parent));
    setUpFileChooser(dialog, request);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(toEightBitPath(file));
        }
    }
    return chosen;
}

std::optional<std::string> QtPrompts::chooseFolder(QWidget* parent, const std::string& title,
                                                   const std::string& folder) {
    QFileDialog dialog(shownOwner(parent));
    useQtChooser(dialog);
    dialog.setWindowTitle(toQString(title));
    if (!folder.empty()) {
        dialog.setDirectory(toQString(folder));
    }
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return firstSelected(dialog);
}
