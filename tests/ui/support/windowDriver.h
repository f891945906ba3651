#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QWidget>

#include <stdexcept>
#include <string>

#include "runner/state/taskBoard.h"

class QTreeWidget;

// Drives a window as its user does, reaching each control by the name the window gives it:
// pressing, typing and reading, with no knowledge of where the control lies. A control that the
// window does not have fails the test.
class WindowDriver {
public:
    explicit WindowDriver(QWidget& window) : window_(window) {}

    // A button, check box or menu item, pressed or chosen as a user does.
    void press(const char* name) const;
    void key(const char* name, int key) const;
    // Line edits, multi-line texts, combo boxes, spin boxes, labels and menu items.
    std::string text(const char* name) const;
    void type(const char* name, const std::string& text) const;
    bool enabled(const char* name) const;
    bool checked(const char* name) const;
    // Not hidden, whether or not the window itself is on screen.
    bool shown(const char* name) const;
    std::string toolTip(const char* name) const;
    // Where the control lies in its parent, for the tests of the layout itself.
    QRect geometry(const char* name) const { return control<QWidget>(name).geometry(); }
    // The name of the control that the Tab key reaches next.
    std::string nextInFocus(const char* name) const;

    // The task list: rows, their columns and marks, and the selection.
    int rowCount() const;
    std::string rowText(int row, int column) const;
    TaskBoard::Mark rowMark(int row) const;
    void selectRow(int row) const;
    // The pointer rests on the row: its hover text shows.
    void hoverRow(int row) const;

    // The status line as it shows, and its tooltip with the whole text.
    std::string statusLine() const { return text("lab_statusText"); }

    template <class Control>
    Control& control(const char* name) const {
        auto* found = window_.findChild<Control*>(QLatin1String(name));
        if (found == nullptr) {
            ADD_FAILURE() << "no control named " << name;
            throw std::runtime_error(name);
        }
        return *found;
    }

private:
    QTreeWidget& list() const;

    QWidget& window_;
};
