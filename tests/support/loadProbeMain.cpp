// Loads a project, settings or chapter file and prints how many tasks it gave (0 for settings,
// the length of the chapter list for chapters):
//   marovink_load_probe project|settings|chapters FILE
// Exit status 0 when it loaded, 1 when the loader refused it, 2 on a usage error.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "chapters/chapterList.h"
#include "messages/messageSink.h"
#include "regional/regionalFormats.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

class Silent : public MessageSink {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::string kind = argv[1];
    try {
        if (kind == "project") {
            TAllTask tasks;
            projectFile::load(argv[2], tasks);
            std::printf("%d\n", tasks.count());
        } else if (kind == "settings") {
            Settings settings(argv[2], "/nonexistent/");
            Silent silent;
            settings.load(silent);
            std::printf("0\n");
        } else if (kind == "chapters") {
            std::printf("%zu\n",
                        chapters::importChapterFile(argv[2], "PAL", RegionalFormats()).size());
        } else {
            return 2;
        }
    } catch (const std::runtime_error& error) {
        std::printf("%.200s\n", error.what());
        return 1;
    }
    return 0;
}
