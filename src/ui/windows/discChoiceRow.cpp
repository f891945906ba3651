#include "ui/windows/discChoiceRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "language/language.h"
#include "runner/plan/discFitting.h"
#include "task/task.h"
#include "task/taskChoices.h"
#include "ui/qt/qtText.h"

std::string discNameOf(const QComboBox* box) {
    const std::string text = toEightBit(box->currentText().trimmed());
    return text == language::discNone ? std::string() : text;
}

void fillDiscChoices(QComboBox* box, const std::string& name) {
    box->setEditable(true);
    box->clear();
    box->addItem(uiText(language::discNone));
    for (const char* known : {"DVD-5", "DVD-9", "8cm"}) {
        box->addItem(QString::fromLatin1(known));
    }
    box->setEditText(name.empty() ? uiText(language::discNone) : toQString(name));
}

std::string unknownDiscMessage(const QComboBox* box) {
    const std::string name = discNameOf(box);
    if (name.empty() || taskChoices::discNamed(name)) {
        return "";
    }
    return language::discUnknownBefore + name + language::discNotKnown;
}

DiscChoiceRow::DiscChoiceRow(QWidget* parent) : QWidget(parent) {
    label_ = new QLabel(uiText(language::discLabel), this);
    label_->setGeometry(0, 4, 32, 16);
    disc_ = new QComboBox(this);
    disc_->setObjectName("cmb_disc");
    disc_->setGeometry(36, 0, 90, 22);
    fillDiscChoices(disc_, "");
    image_ = new QCheckBox(uiText(language::imageBox), this);
    image_->setObjectName("chb_image");
    image_->setGeometry(134, 2, 120, 17);
    prediction_ = new QLabel(this);
    prediction_->setObjectName("lab_discFit");
    prediction_->setGeometry(258, 4, 280, 16);
    connect(disc_, &QComboBox::currentTextChanged, this, &DiscChoiceRow::changed);
    connect(image_, &QCheckBox::toggled, this, &DiscChoiceRow::changed);
}

void DiscChoiceRow::showChoices(const Ttask& task) {
    fillDiscChoices(disc_, taskChoices::discName(task));
    image_->setChecked(taskChoices::makesImage(task));
}

void DiscChoiceRow::applyTo(Ttask& task) const {
    taskChoices::setDiscName(task, discNameOf(disc_));
    taskChoices::setMakesImage(task, image_->isChecked());
}

void DiscChoiceRow::showPrediction(const Ttask& boxes) {
    setEnabled(boxes.doAuthor);
    prediction_->setText(toQString(discFitting::predictionText(boxes)));
}

std::string DiscChoiceRow::unknownDiscMessage() const {
    return ::unknownDiscMessage(disc_);
}

std::string DiscChoiceRow::predictionText() const {
    return toEightBit(prediction_->text());
}
