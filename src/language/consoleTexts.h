#pragma once

// The texts of marovink-batch, the runner without a window. Its console lines are its own; the
// run log it writes takes the texts of language.h as the window does.
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

// What was being done when a file failed: the text, the file, the separator, the failure
extern const char* const batchReadingSettings;
extern const char* const batchReadingProject;
extern const char* const batchWritingLog;
extern const char* const batchDoingSeparator;

// Console lines: the task number goes between the two task texts, the counts between the
// finished texts.
extern const char* const batchTaskBefore;
extern const char* const batchTaskAfter;
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
extern const char* const batchFailurePrefix;
extern const char* const batchRunEndedEarly;  // then what was being done, if known
extern const char* const batchErrorPrefix;
extern const char* const batchWarningPrefix;

}  // namespace language
