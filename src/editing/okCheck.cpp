#include "editing/okCheck.h"

#include <vector>

#include "editing/stageView.h"
#include "files/textFile.h"
#include "language/language.h"
#include "paths/folderCreation.h"

bool remuxedOverwritesSource(const Ttask& boxes) {
    return boxes.origVobFilePath == boxes.vobFilePath;
}

std::optional<std::string> streamOverwritingSource(const Ttask& boxes) {
    if (!boxes.doDemux || boxes.origVobFilePath.empty()) {
        return std::nullopt;
    }
    for (const std::string* stream : {&boxes.m2vFilePath, &boxes.ac3FilePath}) {
        if (*stream == boxes.origVobFilePath || namesSameFile(*stream, boxes.origVobFilePath)) {
            return *stream + language::streamIsSource + boxes.origVobFilePath +
                   language::streamIsSourceEnd;
        }
    }
    return std::nullopt;
}

std::optional<std::string> firstMissingInput(const Ttask& boxes) {
    const StageView view = stageView(boxes.doDemux, boxes.doRemux, boxes.doAuthor);
    std::vector<const std::string*> inputs;
    if (boxes.doDemux) {
        inputs = {&boxes.origVobFilePath};
    } else if (boxes.doRemux) {
        inputs = {&boxes.m2vFilePath, &boxes.ac3FilePath};
    } else if (view.author) {
        inputs = {&boxes.vobFilePath};
    }
    for (const std::string* input : inputs) {
        if (!isExistingFile(*input)) {
            return *input;
        }
    }
    return std::nullopt;
}

Ttask taskFromBoxes(const Ttask& boxes) {
    const StageView view = stageView(boxes.doDemux, boxes.doRemux, boxes.doAuthor);
    Ttask task = boxes;
    task.doAuthor = view.author;
    if (!view.sourceShown) {
        task.origVobFilePath.clear();
    }
    if (!view.streamsShown) {
        task.m2vFilePath.clear();
        task.ac3FilePath.clear();
    }
    if (!view.remuxedShown) {
        task.vobFilePath.clear();
    }
    if (!view.authorShown) {
        task.dvdFolderPath.clear();
        task.chapterList.clear();
    }
    return task;
}

std::optional<OutputFolder> outputFolderOf(const Ttask& boxes) {
    if (stageView(boxes.doDemux, boxes.doRemux, boxes.doAuthor).author) {
        return OutputFolder{boxes.dvdFolderPath, boxes.dvdFolderPath};
    }
    if (boxes.doRemux) {
        return OutputFolder{folderPartOf(boxes.vobFilePath), boxes.vobFilePath};
    }
    if (boxes.doDemux) {
        return OutputFolder{folderPartOf(boxes.m2vFilePath), boxes.m2vFilePath};
    }
    return std::nullopt;
}

std::string missingInputMessage(const std::string& path) {
    return path + language::inputFileMissing;
}

std::string folderNotCreatedMessage(const std::string& namedBy) {
    return "\"" + namedBy + "\" " + language::folderCannotBeCreated;
}

std::optional<OkFailure> checkTaskAsEditorOk(const Ttask& task) {
    if (remuxedOverwritesSource(task)) {
        return OkFailure{OkFailure::Reason::overwritesSource, language::sameNameOnOk};
    }
    if (const std::optional<std::string> stream = streamOverwritingSource(task)) {
        return OkFailure{OkFailure::Reason::streamIsSource, *stream};
    }
    if (const std::optional<std::string> missing = firstMissingInput(task)) {
        return OkFailure{OkFailure::Reason::missingInput, missingInputMessage(*missing)};
    }
    const std::optional<OutputFolder> output = outputFolderOf(task);
    if (output && !createFolderWithParents(output->path)) {
        return OkFailure{OkFailure::Reason::folderNotCreated,
                         folderNotCreatedMessage(output->namedBy)};
    }
    return std::nullopt;
}
