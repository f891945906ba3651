#pragma once

#include <memory>
#include <string>
#include <vector>

// One piece of DVD material and what is to be done with it. Texts are 8-bit strings, kept byte
// for byte as the user or a project file gave them.
class Ttask {
public:
    Ttask() = default;

    std::string origVobFilePath;
    std::string m2vFilePath;
    std::string ac3FilePath;
    std::string vobFilePath;
    std::string dvdFolderPath;
    std::string chapterList;
    bool doDemux = true;
    bool doRemux = true;
    bool doAuthor = true;
    bool deleteOrigVob = false;
    bool deleteStreams = false;
    bool deleteVob = false;
    // Further choices, as blank-separated words (see taskChoices.h); words this program does not
    // know are kept as they are, for the program that wrote them.
    std::string extraChoices;
};

// Tasks are shared: the list, an open editor and a running run may hold the same task, and a task
// lives as long as its last holder.
using TaskRef = std::shared_ptr<Ttask>;

// The ordered task list. Not synchronised: it belongs to the thread that edits it; a run works on
// its own copy (see snapshot()).
class TAllTask {
public:
    int count() const { return static_cast<int>(tasks_.size()); }
    void add(TaskRef task);
    void removeAt(int index);
    // Moves the task at `from` to the place `to`, the others keeping their order.
    void move(int from, int to);
    void clear() { tasks_.clear(); }
    TaskRef taskAt(int index) const;

    // Independent copies of the records as they stand now, so that later edits of the list or of
    // its tasks never reach whoever holds the copy.
    std::vector<Ttask> snapshot() const;

private:
    std::vector<TaskRef> tasks_;
};
