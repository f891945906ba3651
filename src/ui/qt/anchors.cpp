#include "ui/qt/anchors.h"

#include <QEvent>
#include <QWidget>

namespace {

// One axis: the new start and length of a control.
std::pair<int, int> anchoredSpan(int start, int length, int designExtent, int extent, bool nearSide,
                                 bool farSide) {
    const int growth = extent - designExtent;
    if (nearSide && farSide) {
        return {start, length + growth};
    }
    if (farSide) {
        return {start + growth, length};
    }
    if (nearSide) {
        return {start, length};
    }
    // Keeps the control's centre at the same fraction of the container.
    const int centre = designExtent > 0 ? (2 * start + length) * extent / (2 * designExtent) : 0;
    return {centre - length / 2, length};
}

}  // namespace

Anchors::Anchors(QWidget* container, QSize designSize)
    : QObject(container), container_(container), designSize_(designSize) {
    container->installEventFilter(this);
}

void Anchors::place(QWidget* control, const QRect& designGeometry, int anchors) {
    placements_.push_back({control, designGeometry, anchors});
    apply(placements_.back());
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container_ && event->type() == QEvent::Resize) {
        for (const Placement& placement : placements_) {
            apply(placement);
        }
    }
    return QObject::eventFilter(watched, event);
}

void Anchors::apply(const Placement& placement) const {
    const QRect& design = placement.designGeometry;
    const auto [left, width] =
        anchoredSpan(design.left(), design.width(), designSize_.width(), container_->width(),
                     placement.anchors & AnchorLeft, placement.anchors & AnchorRight);
    const auto [top, height] =
        anchoredSpan(design.top(), design.height(), designSize_.height(), container_->height(),
                     placement.anchors & AnchorTop, placement.anchors & AnchorBottom);
    placement.control->setGeometry(left, top, width, height);
}
