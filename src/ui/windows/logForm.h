#pragma once

#include <QDialog>
#include <string>

class Prompts;
class QPlainTextEdit;
class QPushButton;

// The run log viewer: modeless; OK and the close box hide it.
class TLogForm : public QDialog {
    Q_OBJECT

public:
    // Only the designed contents: no file.
    explicit TLogForm(QWidget* owner);
    // Loads the whole file; throws IoError when it cannot be read. A Refresh that fails is
    // reported through prompts.
    TLogForm(QWidget* owner, std::string path, Prompts& prompts);

    void btn_OKClick();
    // Loads the file again: during a run it shows the entries written so far.
    void btn_refreshClick();

private:
    QPlainTextEdit* edt_textFile;
    QPushButton* btn_OK;
    QPushButton* btn_refresh;

    void buildControls();

    std::string path_;
    Prompts* prompts_ = nullptr;
};
