#pragma once

#include <QDialog>

struct ProgramServices;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Where the user sets the tool paths, the video standard, how many tasks a run works on at the
// same time and the disc new tasks are given. Creating it loads the settings from the file, with a
// message for the first missing tool.
class TFormOptions : public QDialog {
    Q_OBJECT

public:
    TFormOptions(QWidget* owner, ProgramServices& services);

    void btn_okClick();
    void btn_cancelClick();

private:
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* txt_demuxExe;
    QLabel* Label4;
    QLabel* Label3;
    QLineEdit* txt_muxExe;
    QLabel* Label6;
    QLabel* Label5;
    QLineEdit* txt_authorExe;
    QLabel* Label7;
    QComboBox* lst_standard;
    QLabel* Label8;
    QLabel* lab_tasksAtOnce;
    QSpinBox* spn_tasksAtOnce;
    QLabel* lab_tasksAtOnceHint;
    QLabel* lab_discForNewTasks;
    QComboBox* cmb_discForNewTasks;
    QLabel* lab_requantizerExe;
    QLineEdit* txt_requantizerExe;
    QLabel* lab_imagerExe;
    QLineEdit* txt_imagerExe;
    QPushButton* btn_ok;
    QPushButton* btn_cancel;

    void buildControls();
    void showValues();

    ProgramServices& services_;
};
