#include "ui/support/windowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "ui/qt/pictures.h"

void WindowDriver::press(const char* name) const {
    if (auto* action = window_.findChild<QAction*>(QLatin1String(name))) {
        action->trigger();
    } else {
        control<QAbstractButton>(name).click();
    }
}

void WindowDriver::key(const char* name, int key) const {
    QWidget& widget = control<QWidget>(name);
    widget.setFocus();
    QTest::keyClick(&widget, static_cast<Qt::Key>(key));
}

namespace {

// The property that holds what a control shows as text, for each kind of control taking text. A
// spin box's number is typed and read as its digits.
const char* textProperty(const QWidget& widget) {
    if (qobject_cast<const QPlainTextEdit*>(&widget) != nullptr) {
        return "plainText";
    }
    if (qobject_cast<const QSpinBox*>(&widget) != nullptr) {
        return "value";
    }
    return qobject_cast<const QComboBox*>(&widget) != nullptr ? "currentText" : "text";
}

}  // namespace

std::string WindowDriver::text(const char* name) const {
    if (auto* action = window_.findChild<QAction*>(QLatin1String(name))) {
        return action->text().toStdString();
    }
    const QWidget& widget = control<QWidget>(name);
    return widget.property(textProperty(widget)).toString().toStdString();
}

void WindowDriver::type(const char* name, const std::string& text) const {
    QWidget& widget = control<QWidget>(name);
    EXPECT_TRUE(widget.setProperty(textProperty(widget), QString::fromStdString(text))) << name;
}

bool WindowDriver::enabled(const char* name) const {
    if (auto* action = window_.findChild<QAction*>(QLatin1String(name))) {
        return action->isEnabled();
    }
    return control<QWidget>(name).isEnabled();
}

bool WindowDriver::checked(const char* name) const {
    return control<QAbstractButton>(name).isChecked();
}

bool WindowDriver::shown(const char* name) const {
    return !control<QWidget>(name).isHidden();
}

std::string WindowDriver::nextInFocus(const char* name) const {
    // As Tab goes: past the widgets in the chain that take no focus by it (labels, viewports).
    QWidget* next = control<QWidget>(name).nextInFocusChain();
    while (next != nullptr && (next->focusPolicy() & Qt::TabFocus) == 0) {
        next = next->nextInFocusChain();
    }
    return next == nullptr ? std::string() : next->objectName().toStdString();
}

std::string WindowDriver::toolTip(const char* name) const {
    return control<QWidget>(name).toolTip().toStdString();
}

QTreeWidget& WindowDriver::list() const {
    return control<QTreeWidget>("ListView1");
}

int WindowDriver::rowCount() const {
    return list().topLevelItemCount();
}

std::string WindowDriver::rowText(int row, int column) const {
    return list().topLevelItem(row)->text(column).toStdString();
}

TaskBoard::Mark WindowDriver::rowMark(int row) const {
    const qint64 shown = list().topLevelItem(row)->icon(0).cacheKey();
    for (const TaskBoard::Mark mark :
         {TaskBoard::Mark::running, TaskBoard::Mark::done, TaskBoard::Mark::failed,
          TaskBoard::Mark::cutShort}) {
        if (shown == statusIcon(mark).cacheKey()) {
            return mark;
        }
    }
    return TaskBoard::Mark::none;
}

void WindowDriver::selectRow(int row) const {
    list().setCurrentItem(list().topLevelItem(row));
}

void WindowDriver::hoverRow(int row) const {
    QTreeWidget& tree = list();
    QWidget* viewport = tree.viewport();
    const QPoint at = tree.visualItemRect(tree.topLevelItem(row)).center();
    QHelpEvent hover(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &hover);
}
