#include "ui/windows/sourceStreamsPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>

#include "editing/sourceStreams.h"
#include "files/textFile.h"
#include "language/language.h"
#include "mpeg/ifoReader.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"

namespace {

// A listing reads a few megabytes at each end of the source: far less than this, even from a
// slow drive. A demultiplexer that takes longer is no help to the editor.
constexpr int listingTimeoutMs = 10000;

std::optional<std::string> listingOf(const std::string& demuxer, const std::string& source) {
    QProcess process;
    process.setProgram(toQString(demuxer));
    process.setArguments({QStringLiteral("--list"), toQString(source)});
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForFinished(listingTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return process.readAllStandardOutput().toStdString();
}

}  // namespace

SourceStreamsPanel::SourceStreamsPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    auto* label = new QLabel(uiText(language::sourceStreamsLabel), this);
    makeNavy(label);
    label->setGeometry(8, 4, 240, 16);
    streamList_ = new QListWidget(this);
    streamList_->setGeometry(8, 22, 240, 150);
    streamList_->setSelectionMode(QAbstractItemView::NoSelection);
    streamList_->setFocusPolicy(Qt::NoFocus);
    keepEveryTrack_ = new QCheckBox(uiText(language::keepEveryAudioTrack), this);
    keepEveryTrack_->setGeometry(8, 180, 240, 17);
    keepSubtitles_ = new QCheckBox(uiText(language::keepEverySubtitleStream), this);
    keepSubtitles_->setGeometry(8, 200, 240, 17);
    auto* leftOutLabel = new QLabel(uiText(language::leftOutHeading), this);
    makeNavy(leftOutLabel);
    leftOutLabel->setGeometry(8, 224, 240, 16);
    leftOut_ = new QLabel(this);
    leftOut_->setGeometry(8, 242, 240, 146);
    leftOut_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    leftOut_->setWordWrap(true);
    connect(keepEveryTrack_, &QCheckBox::toggled, this, [this] { showView(); });
    connect(keepSubtitles_, &QCheckBox::toggled, this, [this] { showView(); });
}

std::optional<std::string> SourceStreamsPanel::showSource(const std::string& demuxer,
                                                          const std::string& source) {
    // A path that names no file yet is no source to list, and no fault of the demultiplexer.
    sourceGiven_ = isExistingFile(source);
    listing_ = sourceGiven_ ? listingOf(demuxer, source) : std::nullopt;
    titleSetIfoBeside_ = sourceGiven_ && !mpeg::titleSetIfoBeside(source).empty();
    showView();
    return listing_;
}

bool SourceStreamsPanel::keepsEveryAudioTrack() const {
    return keepEveryTrack_->isChecked();
}

void SourceStreamsPanel::setKeepEveryAudioTrack(bool keep) {
    keepEveryTrack_->setChecked(keep);
}

bool SourceStreamsPanel::keepsEverySubtitleStream() const {
    return keepSubtitles_->isChecked();
}

void SourceStreamsPanel::setKeepEverySubtitleStream(bool keep) {
    keepSubtitles_->setChecked(keep);
}

std::vector<std::string> SourceStreamsPanel::streamLines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < streamList_->count(); ++row) {
        lines.push_back(toEightBit(streamList_->item(row)->text()));
    }
    return lines;
}

std::string SourceStreamsPanel::leftOutText() const {
    return toEightBit(leftOut_->text());
}

void SourceStreamsPanel::showView() {
    const SourceStreamsView view = viewOfSourceStreams(
        listing_, {keepsEveryAudioTrack(), keepsEverySubtitleStream(), titleSetIfoBeside_});
    streamList_->clear();
    for (const std::string& line : view.streamLines) {
        streamList_->addItem(toQString(line));
    }
    if (!sourceGiven_) {
        leftOut_->clear();
        return;
    }
    if (!view.listed) {
        leftOut_->setText(uiText(language::streamsNotListed));
        return;
    }
    std::string text;
    for (const std::string& line : view.leftOut) {
        text += (text.empty() ? "" : "\n") + line;
    }
    if (text.empty()) {
        text = language::nothingLeftOut;
    }
    if (!view.subtitleWarning.empty()) {
        text += "\n\n" + view.subtitleWarning;
    }
    leftOut_->setText(toQString(text));
}
