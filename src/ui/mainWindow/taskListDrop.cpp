#include "ui/mainWindow/taskListDrop.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "ui/qt/qtText.h"

namespace {

std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (data == nullptr) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(toEightBitPath(url.toLocalFile()));
        }
    }
    return files;
}

}  // namespace

TaskListDrop::TaskListDrop(QAbstractItemView* list, Handler handler)
    : QObject(list), handler_(std::move(handler)) {
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
}

bool TaskListDrop::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (localFiles(drag->mimeData()).empty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::vector<std::string> files = localFiles(drop->mimeData());
            if (files.empty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            handler_(files);
            return true;
        }
        default:
            return false;
    }
}
