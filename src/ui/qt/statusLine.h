#pragma once

#include <QLabel>

// A one-line status label whose first part gives way to the rest: when the whole text is wider
// than the label, the first part loses characters in its middle, so that what follows it always
// shows in full. The whole text is the label's tooltip.
class StatusLine : public QLabel {
public:
    explicit StatusLine(QWidget* parent);

    void showText(const QString& shortened, const QString& kept);
    void clearText();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitText();

    QString shortened_;
    QString kept_;
};
