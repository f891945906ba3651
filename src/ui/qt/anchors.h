#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// Sides of its container that a control keeps its distance to. A control anchored on two
// opposite sides stretches; on one side it moves with that side; on neither it keeps its
// relative position.
enum Anchor { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
constexpr int anchorLeftTop = AnchorLeft | AnchorTop;
constexpr int anchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

// Places controls in a container laid out for a design size, and moves and stretches them as
// their anchors say whenever the container is resized.
class Anchors : public QObject {
public:
    Anchors(QWidget* container, QSize designSize);

    void place(QWidget* control, const QRect& designGeometry, int anchors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placement {
        QWidget* control;
        QRect designGeometry;
        int anchors;
    };

    void apply(const Placement& placement) const;

    QWidget* container_;
    QSize designSize_;
    std::vector<Placement> placements_;
};
