#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The last moment to keep the computer on after a run: counts the seconds down and then lets the
// power-off go ahead; Cancel, Esc or the close box call it off.
class TPowerOffCountdown : public QDialog {
    Q_OBJECT

public:
    TPowerOffCountdown(QWidget* owner, int seconds);

    // Shows the countdown modally; true when it ran out, false when it was called off.
    bool runOut();

    int secondsLeft() const { return secondsLeft_; }

private:
    QLabel* lab_countdown;
    QProgressBar* ProgressBar1;
    QPushButton* btn_cancel;

    void tick();
    void showSecondsLeft();

    QTimer* timer_;
    int secondsLeft_;
};
