#include "task/task.h"

#include <stdexcept>

void TAllTask::add(TaskRef task) {
    if (!task) {
        throw std::invalid_argument("TAllTask::add: no task");
    }
    tasks_.push_back(std::move(task));
}

void TAllTask::removeAt(int index) {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("TAllTask::removeAt: index out of range");
    }
    tasks_.erase(tasks_.begin() + index);
}

void TAllTask::move(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count()) {
        throw std::out_of_range("TAllTask::move: index out of range");
    }
    const TaskRef task = tasks_[static_cast<std::size_t>(from)];
    tasks_.erase(tasks_.begin() + from);
    tasks_.insert(tasks_.begin() + to, task);
}

TaskRef TAllTask::taskAt(int index) const {
    return tasks_.at(static_cast<std::size_t>(index));
}

std::vector<Ttask> TAllTask::snapshot() const {
    std::vector<Ttask> copies;
    copies.reserve(tasks_.size());
    for (const TaskRef& task : tasks_) {
        copies.push_back(*task);
    }
    return copies;
}
