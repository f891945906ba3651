#include "ui/windows/sourceStreamsPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTimer>

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

SourceStreamsPanel::~SourceStreamsPanel() {
    stopListing();
}

void SourceStreamsPanel::showSource(const std::string& demuxer, const std::string& source,
                                    const Listed& whenListed) {
    stopListing();
    // A path that names no file yet is no source to list, and no fault of the demultiplexer.
    sourceGiven_ = isExistingFile(source);
    listing_.reset();
    titleSetIfoBeside_ = sourceGiven_ && !mpeg::titleSetIfoBeside(source).empty();
    whenListed_ = whenListed;
    if (!sourceGiven_) {
        showView();
        if (whenListed_) {
            whenListed_(listing_);
        }
        return;
    }
    streamList_->clear();
    leftOut_->setText(uiText(language::streamsBeingListed));
    process_ = new QProcess(this);
    process_->setProgram(toQString(demuxer));
    process_->setArguments({QStringLiteral("--list"), toQString(source)});
    process_->setStandardInputFile(QProcess::nullDevice());
    connect(process_, &QProcess::finished, this, [this] { listingEnded(true); });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            listingEnded(false);
        }
    });
    // Only this listing's own limit ends it, never an earlier one's.
    QTimer::singleShot(listingTimeoutMs, process_, [this, process = process_] {
        if (process_ == process) {
            listingEnded(false);
        }
    });
    process_->start();
}

void SourceStreamsPanel::listingEnded(bool finished) {
    QProcess* const process = process_;
    if (process == nullptr) {
        return;
    }
    const bool listed =
        finished && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    listing_ = listed ? std::optional<std::string>(process->readAllStandardOutput().toStdString())
                      : std::nullopt;
    stopListing();
    showView();
    if (whenListed_) {
        whenListed_(listing_);
    }
}

void SourceStreamsPanel::stopListing() {
    QProcess* const process = process_;
    if (process == nullptr) {
        return;
    }
    process_ = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished();
    }
    process->deleteLater();
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
