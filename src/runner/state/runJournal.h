#pragma once

#include <string>
#include <vector>

// What a run of several tasks at once has logged of the tasks whose entries it holds: each entry
// as it is made, and each block once it is in the run log. A run that is killed before it writes
// its held blocks leaves them here, beside its run log; a run that ends removes the file.
class RunJournal {
public:
    static std::string pathOf(const std::string& logPath) { return logPath + ".journal"; }

    // Creates the file, or empties it. Throws IoError.
    explicit RunJournal(std::string path);

    // Throw IoError.
    void entry(int task, const std::string& text);
    void blockWritten(int task);
    // Once the run log is whole.
    void remove();

private:
    const std::string path_;
};

// The blocks that a run held and never wrote to its log, each whole, in the order they began.
// found: a journal lies beside the log, so the run wrote each block whole when its task ended,
// and did not end itself. A record cut short by the end of the file is left out.
struct HeldBlocks {
    bool found = false;
    std::vector<std::string> blocks;
};
HeldBlocks heldBlocksBeside(const std::string& logPath);
