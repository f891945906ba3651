#pragma once

#include <QFrame>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QProcess;

// The task editor's view of what the source holds: its streams as the demultiplexer lists them,
// the "Keep every audio track" and "Keep every subtitle stream" choices, and what the task will
// leave out.
class SourceStreamsPanel : public QFrame {
    Q_OBJECT

public:
    explicit SourceStreamsPanel(QWidget* parent);
    // A listing under way is stopped: nothing it would report outlives the panel.
    ~SourceStreamsPanel() override;

    // What the demultiplexer printed for --list, or nullopt when it gave nothing.
    using Listed = std::function<void(const std::optional<std::string>& listing)>;

    // Lists the streams of source with the demultiplexer's --list, in the background: a slow
    // disk never holds the editor up. The panel fills when the listing ends, and then whenListed
    // is called; a source that is no existing file clears the list at once. A listing still
    // under way for an earlier source is stopped, and its result never shown.
    void showSource(const std::string& demuxer, const std::string& source,
                    const Listed& whenListed = nullptr);
    // Whether a listing is under way.
    bool isListing() const { return process_ != nullptr; }

    bool keepsEveryAudioTrack() const;
    void setKeepEveryAudioTrack(bool keep);
    bool keepsEverySubtitleStream() const;
    void setKeepEverySubtitleStream(bool keep);

    // What the panel shows, as the user reads it.
    std::vector<std::string> streamLines() const;
    std::string leftOutText() const;

private:
    void showView();
    void stopListing();
    void listingEnded(bool finished);

    QListWidget* streamList_;
    QCheckBox* keepEveryTrack_;
    QCheckBox* keepSubtitles_;
    QLabel* leftOut_;
    std::optional<std::string> listing_;
    bool sourceGiven_ = false;
    bool titleSetIfoBeside_ = false;
    QProcess* process_ = nullptr;
    Listed whenListed_;
};
