#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/ioError.h"
#include "memoryFile.h"
#include "storage/projectFile.h"
#include "task/task.h"

namespace {

std::string* textsOf(Ttask& task, std::size_t index) {
    std::string* texts[] = {&task.origVobFilePath, &task.m2vFilePath,   &task.ac3FilePath,
                            &task.vobFilePath,     &task.dvdFolderPath, &task.chapterList};
    return texts[index];
}
constexpr std::size_t textCount = 6;

bool* flagOf(Ttask& task, std::size_t index) {
    bool* flags[] = {&task.doDemux,       &task.doRemux,       &task.doAuthor,
                     &task.deleteOrigVob, &task.deleteStreams, &task.deleteVob};
    return flags[index];
}
constexpr std::size_t flagCount = 6;

// Tasks made from the input: a byte 0xff starts a task, whose flags are the bits of the byte that
// follows it; a line feed moves to the next text. Texts hold any byte a line can hold: no line
// end and no Ctrl-Z.
TAllTask tasksFrom(const std::uint8_t* data, std::size_t size) {
    TAllTask tasks;
    TaskRef task;
    std::size_t text = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xff || !task) {
            task = std::make_shared<Ttask>();
            tasks.add(task);
            text = 0;
            const std::uint8_t bits = i + 1 < size ? data[++i] : 0;
            for (std::size_t flag = 0; flag < flagCount; ++flag) {
                *flagOf(*task, flag) = (bits >> flag) & 1;
            }
        } else if (data[i] == '\n') {
            text = (text + 1) % textCount;
        } else if (data[i] != '\r' && data[i] != 26) {
            textsOf(*task, text)->push_back(static_cast<char>(data[i]));
        }
    }
    return tasks;
}

void requireSameTasks(const TAllTask& expected, const TAllTask& actual) {
    if (actual.count() != expected.count()) {
        std::abort();
    }
    for (int i = 0; i < expected.count(); ++i) {
        Ttask& want = *expected.taskAt(i);
        Ttask& got = *actual.taskAt(i);
        for (std::size_t text = 0; text < textCount; ++text) {
            if (*textsOf(want, text) != *textsOf(got, text)) {
                std::abort();
            }
        }
        for (std::size_t flag = 0; flag < flagCount; ++flag) {
            if (*flagOf(want, flag) != *flagOf(got, flag)) {
                std::abort();
            }
        }
    }
}

}  // namespace

// Any file loads or fails with a clear error, and what loads saves and loads back to the same
// bytes; tasks made from the input save and load back to the same tasks, field by field.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    TAllTask tasks;
    try {
        projectFile::load(file.holding(data, size), tasks);
        // A block is at least its separator line, so no file yields more tasks than lines.
        if (static_cast<std::size_t>(tasks.count()) > size) {
            std::abort();
        }
        const std::string saved = projectFile::serialize(tasks);
        TAllTask again;
        projectFile::load(file.holding(saved), again);
        if (projectFile::serialize(again) != saved) {
            std::abort();
        }
    } catch (const IoError&) {
        std::abort();  // a file in memory always reads
    } catch (const ConversionError&) {
    }

    const TAllTask made = tasksFrom(data, size);
    TAllTask loaded;
    projectFile::load(file.holding(projectFile::serialize(made)), loaded);
    requireSameTasks(made, loaded);
    return 0;
}
