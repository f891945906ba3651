#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The about box: the program's name and version, a word about it and the tools it relies on, and
// the licence text.
class TFAbout : public QDialog {
    Q_OBJECT

public:
    // Only the designed contents: no licence.
    explicit TFAbout(QWidget* owner);
    // Loads the licence file; throws IoError when it cannot be read.
    TFAbout(QWidget* owner, const std::string& licencePath);

    void setProgramNameVersion(const std::string& text);
    void btnOKClick();

private:
    QLabel* lblProgramNameVersion;
    QLabel* Image1;
    QLabel* Label2;
    QPlainTextEdit* RichEdit1;
    QPushButton* btnOK;

    void buildControls();
};

// Builds the box for the running program, reading its licence "gpl.txt" (beside it, or with the
// documents of an installed program), and shows it modally.
void showAboutBox(QWidget* owner, const std::string& programPath);
