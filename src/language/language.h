#pragma once

// Every text the program shows or logs, kept together and byte-exact.
namespace language {

extern const char* const programTitle;
extern const char* const programVersion;
extern const char* const webPageAddress;

// Settings
extern const char* const programFileMissing;

// Runner
extern const char* const fileDoesNotExist;
extern const char* const notEnoughFreeSpace;
extern const char* const commandLineAborted;
extern const char* const commandLineExecutionFailed;
extern const char* const stepSeparator;
extern const char* const audioDemuxInProgress;
extern const char* const videoDemuxInProgress;
extern const char* const remuxInProgress;
extern const char* const titleAuthoringInProgress;
extern const char* const folderAuthoringInProgress;
extern const char* const stepDone;
extern const char* const fileDeleted;

// Size checks: the "before" text, the web page address, the "after" text, then the figures
extern const char* const fileSizeMismatchBefore;
extern const char* const videoTsSizeMismatchBefore;
extern const char* const sizeMismatchAfter;

// Run log
extern const char* const logTaskStarted;
extern const char* const logStepDoneAfter;
extern const char* const logStepDoneSeconds;
extern const char* const logStepDoneRule;
extern const char* const logTaskError;
extern const char* const logAborted;
extern const char* const logAllTasksFinished;

// Messages of the runtime, French as the toolkit shows them
extern const char* const fileAccessDenied;
extern const char* const fileNotFound;
extern const char* const diskFull;
extern const char* const ioErrorNumber;     // printf format with one %d
extern const char* const cannotCreateFile;  // printf format with one %s
extern const char* const cannotOpenFile;    // printf format with one %s
extern const char* const notAnInteger;      // printf format with one %s
extern const char* const warningCaption;
extern const char* const errorCaption;

}  // namespace language
