#include "ui/qt/statusLine.h"

#include <algorithm>

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {}

void StatusLine::showText(const QString& shortened, const QString& kept) {
    shortened_ = shortened;
    kept_ = kept;
    fitText();
}

void StatusLine::clearText() {
    showText(QString(), QString());
}

void StatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}

void StatusLine::fitText() {
    const QString whole = shortened_ + kept_;
    const int room = contentsRect().width() - fontMetrics().horizontalAdvance(kept_);
    setText(fontMetrics().elidedText(shortened_, Qt::ElideMiddle, std::max(room, 0)) + kept_);
    setToolTip(whole);
}
