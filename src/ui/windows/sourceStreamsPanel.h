#pragma once

#include <QFrame>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;

// The task editor's view of what the source holds: its streams as the demultiplexer lists them,
// the "Keep every audio track" and "Keep every subtitle stream" choices, and what the task will
// leave out.
class SourceStreamsPanel : public QFrame {
    Q_OBJECT

public:
    explicit SourceStreamsPanel(QWidget* parent);

    // Lists the streams of source with the demultiplexer's --list; a source that is no existing
    // file clears the list. Returns the listing, or nullopt when the demultiplexer gave none.
    std::optional<std::string> showSource(const std::string& demuxer, const std::string& source);

    bool keepsEveryAudioTrack() const;
    void setKeepEveryAudioTrack(bool keep);
    bool keepsEverySubtitleStream() const;
    void setKeepEverySubtitleStream(bool keep);

    // What the panel shows, as the user reads it.
    std::vector<std::string> streamLines() const;
    std::string leftOutText() const;

private:
    void showView();

    QListWidget* streamList_;
    QCheckBox* keepEveryTrack_;
    QCheckBox* keepSubtitles_;
    QLabel* leftOut_;
    std::optional<std::string> listing_;
    bool sourceGiven_ = false;
    bool titleSetIfoBeside_ = false;
};
