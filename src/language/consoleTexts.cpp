#include "language/consoleTexts.h"

namespace language {

const char* const batchProgramName = "marovink-batch";
const char* const batchUsage =
    "Usage: marovink-batch [--settings FILE | --default-settings] [--log FILE] [--tasks LIST]\n"
    "                      [--failed-from LOG] [--jobs N] PROJECT.mvk\n"
    "Runs every task of a Marovink project without a window.\n"
    "\n"
    "  --settings FILE     settings file to use (default: the window program's marovink.ini);\n"
    "                      it must exist\n"
    "  --default-settings  read no settings file: the tools beside the program, PAL\n"
    "  --log FILE          run log to write (default: the window program's marovink.log)\n"
    "  --tasks LIST        run only these tasks, numbered from 0 as in the log: 3,5-9\n"
    "  --failed-from LOG   run only the tasks that this earlier run log does not show as\n"
    "                      finished without an error (with --tasks: those of LIST); the new\n"
    "                      log carries the finished ones forward\n"
    "  --jobs N            run N tasks at the same time, from 1 to 64; 0: one per processor\n"
    "                      core (default: the settings file's \"tasks at once\", else 1)\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "An option's value may also follow an equals sign: --log=FILE. Each option may be given\n"
    "once. No log may be a file of the project's tasks.\n"
    "\n"
    "Exit status: 0 when no task reported an error, 1 when any did, 2 when the command line,\n"
    "the project, the settings or the log cannot be used, 3 when the run was aborted.\n"
    "Ctrl-C aborts the run once the running tool has ended; a second Ctrl-C ends at once,\n"
    "and the running tool with it.\n"
    "\n"
    "marovink.ini and marovink.log lie beside the program when its folder can be written;\n"
    "otherwise in the user's folders ($XDG_CONFIG_HOME/marovink/, $XDG_STATE_HOME/marovink/,\n"
    "%APPDATA%\\Marovink\\ on Windows).\n";

const char* const batchOneProjectOnly = "only one project can be run at a time";
const char* const batchNeedsFileName = " needs a file name";
const char* const batchNeedsTaskList = " needs a list of task numbers";
const char* const batchNotATaskNumber = "' is not a task number or a range such as 5-9";
const char* const batchRangeBackwards = "' runs backwards";
const char* const batchUnknownOption = "unknown option ";
const char* const batchNoProject = "no project file given";
const char* const batchSettingsExclusive = "--settings and --default-settings exclude each other";
const char* const batchSettingsMissingBefore = "the settings file ";
const char* const batchSettingsMissingAfter =
    " does not exist (--default-settings runs without one)";
const char* const batchSettingsIsFolder = " is a folder, not a file";
const char* const batchGivenTwice = " is given more than once";
const char* const batchTasksOption = "--tasks: ";
const char* const batchNeedsTaskCount = " needs a number of tasks to run at once";
const char* const batchJobsOption = "--jobs: '";
const char* const batchNotATaskCount = "' is not a whole number from 0 to ";
const char* const batchTaskCountEnd = " (0: one per processor core)";

const char* const batchReadingSettings = "reading the settings ";
const char* const batchReadingProject = "reading the project ";
const char* const batchReadingEarlierLog = "reading the earlier run log of --failed-from ";
const char* const batchWritingLog = "writing the log ";
const char* const batchDoingSeparator = ": ";

const char* const batchFailedFromOption = "--failed-from ";
const char* const batchNotARunLog = " is not a run log";

const char* const batchLogSubject = "--log ";
const char* const batchDefaultLogSubject = "the run log ";
const char* const batchToolsLogSubject = "the tools log ";
const char* const batchJournalSubject = "the run journal ";
const char* const batchFailedFromSubject = "--failed-from ";
const char* const batchIsProject = " is the project file";
const char* const batchIsSettings = " is the settings file";
const char* const batchIsDemuxer = " is the demultiplexer";
const char* const batchIsMuxer = " is the multiplexer";
const char* const batchIsAuthoringProgram = " is the authoring program";
const char* const batchIsSource = " is the source VOB";
const char* const batchIsVideoStream = " is the video stream";
const char* const batchIsAudioStream = " is the audio stream";
const char* const batchIsRemuxedVob = " is the remultiplexed VOB";
const char* const batchIsSubtitleStream = " is a subtitle stream";
const char* const batchIsAuthoringControl = " is the title run's control file";
const char* const batchIsDvdFolder = " is the DVD folder";
const char* const batchIsFittedVideo = " is the video fitted to the disc";
const char* const batchIsDiscImage = " is the DVD image";
const char* const batchLiesInDvd = " lies in the authored DVD";
const char* const batchOfTask = " of task ";
const char* const batchClashEnd = "; it must be a file of its own";

const char* const batchLogFinishedEarlier =
    "==>> Finished without an error in an earlier run, not run again: tasks ";

const char* const batchTaskBefore = "Task ";
const char* const batchTaskAfter = " started";
const char* const batchOfTaskAfter = ": ";
const char* const batchStepIndent = "  ";
const char* const batchTaskError = "  ERROR: ";
const char* const batchProgressIndent = "\r    ";
const char* const batchProgressUnit = " %";
const char* const batchAborting =
    "Aborting: the run stops once the running tool has ended (Ctrl-C again ends it now).";
const char* const batchAbortedBefore = "The run was aborted: ";
const char* const batchAbortedAfter = " task(s) not run.";
const char* const batchEndedAtOnce = "Ended at once, and the running tool with it.";
const char* const batchFinishedBefore = "All tasks finished: ";
const char* const batchFinishedTasks = " task(s), ";
const char* const batchFinishedErrors = " with errors.";
const char* const batchSummaryAborted = "Run aborted: ";
const char* const batchSummaryEndedEarly = "Run ended early: ";
const char* const batchSummaryStarted = " task(s) started, ";
const char* const batchSummaryErrors = " with errors, ";
const char* const batchSummaryNotRun = " not run.";
const char* const batchNothingToRun =
    "No task to run: the earlier run log shows every chosen task finished without an error.";
const char* const batchResumedAfter =
    " goes on where its earlier run stopped: that run finished the stages whose inputs it "
    "deleted.";
const char* const batchFailurePrefix = "marovink-batch: ";
const char* const batchRunEndedEarly = "the run ended early";
const char* const batchRunEndedEarlyWhile = ", ";
const char* const batchErrorPrefix = "Error: ";
const char* const batchWarningPrefix = "Warning: ";

}  // namespace language
