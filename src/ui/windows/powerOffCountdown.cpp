#include "ui/windows/powerOffCountdown.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "language/language.h"
#include "language/messageFormat.h"
#include "ui/qt/controlName.h"
#include "ui/qt/qtText.h"
#include "ui/qt/windowLook.h"

TPowerOffCountdown::TPowerOffCountdown(QWidget* owner, int seconds)
    : QDialog(owner), timer_(new QTimer(this)), secondsLeft_(seconds) {
    setWindowTitle(uiText(language::programTitle));
    setFont(windowFont());
    setModal(true);

    lab_countdown = named(new QLabel(this), "lab_countdown");
    lab_countdown->setFont(boldFont(13));
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, seconds);
    ProgressBar1->setTextVisible(false);
    btn_cancel = named(new QPushButton(uiText(language::cancelButton), this), "btn_cancel");
    btn_cancel->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lab_countdown);
    layout->addWidget(new QLabel(uiText(language::powerOffCountdownHint), this));
    layout->addWidget(ProgressBar1);
    layout->addWidget(btn_cancel, 0, Qt::AlignHCenter);
    setFixedWidth(360);

    connect(btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(timer_, &QTimer::timeout, this, &TPowerOffCountdown::tick);
    showSecondsLeft();
}

bool TPowerOffCountdown::runOut() {
    if (secondsLeft_ <= 0) {
        return true;
    }
    timer_->start(1000);
    const bool ranOut = exec() == QDialog::Accepted;
    timer_->stop();
    return ranOut;
}

void TPowerOffCountdown::tick() {
    --secondsLeft_;
    showSecondsLeft();
    if (secondsLeft_ <= 0) {
        accept();
    }
}

void TPowerOffCountdown::showSecondsLeft() {
    lab_countdown->setText(
        uiText(formatMessage(language::powerOffCountdown, secondsLeft_).c_str()));
    ProgressBar1->setValue(secondsLeft_);
}
