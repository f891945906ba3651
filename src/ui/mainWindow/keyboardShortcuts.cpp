// The main window's keys. Each stands for a menu item or a button and acts only when that one is
// enabled; none changes a caption.
#include <QAction>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

#include "ui/mainWindow/mainWindow.h"

namespace {

void clickOnKey(QWidget* scope, const QKeySequence& keys, QPushButton* button,
                Qt::ShortcutContext context = Qt::WindowShortcut) {
    auto* shortcut = new QShortcut(keys, scope);
    shortcut->setContext(context);
    // click() does nothing while the button is disabled.
    QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
}

}  // namespace

void TForm1::addKeyboardShortcuts() {
    menu_OpenProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menu_SaveProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menu_exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    clickOnKey(this, QKeySequence(Qt::Key_Insert), btn_addVob);
    // Elsewhere Delete belongs to the focused control.
    clickOnKey(ListView1, QKeySequence(Qt::Key_Delete), btn_removeVob, Qt::WidgetShortcut);
    clickOnKey(this, QKeySequence(Qt::Key_Return), btn_modifyTask);
    clickOnKey(this, QKeySequence(Qt::Key_Enter), btn_modifyTask);
    clickOnKey(this, QKeySequence(Qt::Key_F5), btn_StartTasks);
    clickOnKey(this, QKeySequence(Qt::Key_Escape), btn_AbortTasks);
    for (const auto& [keys, action] : {std::pair{Qt::CTRL | Qt::Key_Up, PPmenu_MoveUp},
                                       std::pair{Qt::CTRL | Qt::Key_Down, PPmenu_MoveDown}}) {
        action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::WidgetShortcut);
        // The list's own key: an action acts on its key only in a widget it is added to.
        ListView1->addAction(action);
    }
}
