#pragma once

#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class Ttask;

// The disc a choice box names: empty for none; what the user typed otherwise, as it stands.
std::string discNameOf(const QComboBox* box);
// An editable box of the discs this program knows, with "(none)" first, showing `name`.
void fillDiscChoices(QComboBox* box, const std::string& name);
// Whether the box names no disc or one this program knows; when not, the message to show.
std::string unknownDiscMessage(const QComboBox* box);

// The task editor's row for the disc a task's DVD must fit: the disc, whether an image is made
// beside the DVD folder, and what the task will take on the disc.
class DiscChoiceRow : public QWidget {
    Q_OBJECT

public:
    explicit DiscChoiceRow(QWidget* parent);

    void showChoices(const Ttask& task);
    // Puts the row's choices into the task's words, keeping the others.
    void applyTo(Ttask& task) const;
    // The prediction for the task as the editor's boxes describe it.
    void showPrediction(const Ttask& boxes);
    std::string unknownDiscMessage() const;
    std::string predictionText() const;

signals:
    void changed();

private:
    QLabel* label_;
    QComboBox* disc_;
    QCheckBox* image_;
    QLabel* prediction_;
};
