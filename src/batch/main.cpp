#include <iostream>

#include "batch/batchOptions.h"
#include "batch/batchRun.h"
#include "batch/consoleReport.h"
#include "batch/consoleSignals.h"
#include "language/consoleTexts.h"
#include "language/language.h"
#include "platform/platform.h"

int main(int argc, char* argv[]) {
    const BatchOptions options = parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case BatchOptions::Action::Help:
            std::cout << language::batchUsage;
            return 0;
        case BatchOptions::Action::Version:
            std::cout << language::batchProgramName << " " << language::programVersion << "\n";
            return 0;
        case BatchOptions::Action::UsageError:
            std::cerr << language::batchFailurePrefix << shownPath(options.error) << "\n"
                      << language::batchUsage;
            return BatchRun::cannotRun;
        case BatchOptions::Action::Run:
            break;
    }

    consoleSignals::prepare();

    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    ConsoleReport console(std::cout, std::cerr, consoleSignals::standardOutputIsTerminal());
    BatchRun run(*system, platform::runningProgramPath(), platform::systemRegionalFormats(),
                 console);
    consoleSignals::watch([&run] { run.abort(); },
                          [&system, &console] {
                              system->endRunningTools();
                              console.endedAtOnce();
                          });
    return run.run(options);
}
