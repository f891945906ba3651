#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAbstractItemView;

// Files dropped from a file manager onto a list: their local paths go to a handler, in the order
// they came. Anything else dropped there is refused.
class TaskListDrop : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const std::vector<std::string>&)>;

    // Owned by the list, whose viewport it watches.
    TaskListDrop(QAbstractItemView* list, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
};
