#include "runner/plan/taskFiles.h"

#include <filesystem>

#include "files/textFile.h"
#include "language/language.h"
#include "runner/plan/taskPlan.h"
#include "task/task.h"

std::vector<std::string> filesOfTask(const Ttask& task) {
    std::vector<std::string> paths;
    for (const plan::TaskFile& file : plan::filesOf(task, surveyedStreams(task))) {
        paths.push_back(file.path);
    }
    return paths;
}

bool tasksShareAFile(const std::vector<std::string>& first,
                     const std::vector<std::string>& second) {
    for (const std::string& one : first) {
        for (const std::string& other : second) {
            if (one == other || namesSameFile(one, other)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<std::string> unsafeOutputOf(const Ttask& task,
                                          const std::vector<std::string>& audioPaths) {
    std::vector<std::string> outputs;
    if (task.doDemux) {
        outputs = audioPaths;
        outputs.push_back(task.m2vFilePath);
        for (const std::string& output : outputs) {
            if (output == task.origVobFilePath || namesSameFile(output, task.origVobFilePath)) {
                return output + language::streamIsSource + task.origVobFilePath +
                       language::streamIsSourceEnd;
            }
        }
    }
    if (task.doRemux) {
        outputs.push_back(task.vobFilePath);
    }
    for (const std::string& output : outputs) {
        std::error_code error;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(output, error)) &&
            !std::filesystem::exists(output, error)) {
            return output + language::outputIsDanglingLink;
        }
    }
    return std::nullopt;
}
