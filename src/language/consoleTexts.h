#pragma once

// The texts of marovink-batch, the runner without a window. Its console lines are its own; the
// run log it writes takes the texts of language.h as the window does, but for the entry that
// carries forward the tasks an earlier run finished.
namespace language {

extern const char* const batchProgramName;
extern const char* const batchUsage;

// What is wrong with a command line
extern const char* const batchOneProjectOnly;
extern const char* const batchNeedsFileName;
extern const char* const batchNeedsTaskList;
// A list of --tasks: the faulty item between a quote and the text
extern const char* const batchNotATaskNumber;
extern const char* const batchRangeBackwards;
extern const char* const batchUnknownOption;
extern const char* const batchNoProject;
extern const char* const batchSettingsExclusive;
extern const char* const batchSettingsMissingBefore;
extern const char* const batchSettingsMissingAfter;
extern const char* const batchSettingsIsFolder;  // after the settings file's text and path
extern const char* const batchGivenTwice;        // after the option
extern const char* const batchTasksOption;       // before what is wrong with a --tasks list
extern const char* const batchNeedsTaskCount;    // after --jobs
// A --jobs value that is no count: the option, the value, the text, the largest count, the end
extern const char* const batchJobsOption;
extern const char* const batchNotATaskCount;
extern const char* const batchTaskCountEnd;

// What was being done when a file failed: the text, the file, the separator, the failure
extern const char* const batchReadingSettings;
extern const char* const batchReadingProject;
extern const char* const batchReadingEarlierLog;
extern const char* const batchWritingLog;
extern const char* const batchDoingSeparator;

// A --failed-from file that is no run log: the option, the path, the text
extern const char* const batchFailedFromOption;
extern const char* const batchNotARunLog;

// A log that is a file of the project: the subject, its path, what the file is, then the task
// number between the task text and the end
extern const char* const batchLogSubject;
extern const char* const batchDefaultLogSubject;
extern const char* const batchToolsLogSubject;
extern const char* const batchJournalSubject;
extern const char* const batchFailedFromSubject;
extern const char* const batchIsProject;
extern const char* const batchIsSettings;
extern const char* const batchIsDemuxer;
extern const char* const batchIsMuxer;
extern const char* const batchIsAuthoringProgram;
extern const char* const batchIsSource;
extern const char* const batchIsVideoStream;
extern const char* const batchIsAudioStream;
extern const char* const batchIsRemuxedVob;
extern const char* const batchIsSubtitleStream;
extern const char* const batchIsAuthoringControl;
extern const char* const batchIsDvdFolder;
extern const char* const batchIsFittedVideo;
extern const char* const batchIsDiscImage;
extern const char* const batchLiesInDvd;
extern const char* const batchOfTask;
extern const char* const batchClashEnd;

// The run log entry of the tasks that an earlier run finished without an error; the list of
// their numbers follows (0,2-4)
extern const char* const batchLogFinishedEarlier;

// Console lines: the task number goes between the two task texts, the counts between the
// finished texts.
extern const char* const batchTaskBefore;
extern const char* const batchTaskAfter;
extern const char* const batchOfTaskAfter;  // after "Task N" before a step of a task beside others
extern const char* const batchStepIndent;
extern const char* const batchTaskError;
extern const char* const batchProgressIndent;
extern const char* const batchProgressUnit;
extern const char* const batchAborting;
extern const char* const batchAbortedBefore;  // then the number of tasks not run
extern const char* const batchAbortedAfter;
extern const char* const batchEndedAtOnce;
extern const char* const batchFinishedBefore;
extern const char* const batchFinishedTasks;
extern const char* const batchFinishedErrors;
// A run that did not go through its tasks: the kind, the started tasks, the text, the tasks with
// errors, the text, the tasks not run, the end
extern const char* const batchSummaryAborted;
extern const char* const batchSummaryEndedEarly;
extern const char* const batchSummaryStarted;
extern const char* const batchSummaryErrors;
extern const char* const batchSummaryNotRun;
extern const char* const batchNothingToRun;
extern const char* const batchResumedAfter;  // after "Task N"
extern const char* const batchFailurePrefix;
extern const char* const batchRunEndedEarly;       // then what was being done, if known
extern const char* const batchRunEndedEarlyWhile;  // between the two
extern const char* const batchErrorPrefix;
extern const char* const batchWarningPrefix;

}  // namespace language
