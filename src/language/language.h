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
extern const char* const fileKept;
extern const char* const fileNotDeleted;
extern const char* const videoTsNotEmpty;
extern const char* const videoTsNotEmptyAtStart;

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

// Where a run stands, after the stage message and in the caption
extern const char* const runTaskPosition;
extern const char* const runDash;
extern const char* const runTaskRunning;
extern const char* const runTasksRunning;
extern const char* const runTasksEnded;
extern const char* const runTaskOf;
extern const char* const runAbout;
extern const char* const runMinutesLeft;
extern const char* const runSecondsLeft;
extern const char* const runCaptionPercent;

// How a run ended, in the status line once it has: "4 tasks: 3 done, 1 with errors"
extern const char* const runSummaryTask;
extern const char* const runSummaryTasks;
extern const char* const runSummaryDone;
extern const char* const runSummaryWithErrors;
extern const char* const runSummaryCutShort;
extern const char* const runSummaryNotStarted;
extern const char* const runSummarySeparator;
// The last line of a task's hover text when a run stopped before the task ended
extern const char* const taskCutShortNote;

// The command that lets the running tasks end and starts no other, its notice in the status line
// while they end, and its log entry, before the end of the run
extern const char* const stopAfterRunningTasks;
extern const char* const stopAfterRunningRequested;
extern const char* const logStoppedAfterRunning;

// Messages of the runtime, French as the toolkit shows them
extern const char* const fileAccessDenied;
extern const char* const fileNotFound;
extern const char* const diskFull;
extern const char* const ioErrorNumber;   // printf format with one %d
extern const char* const cannotOpenFile;  // printf format with one %s
extern const char* const notAnInteger;    // printf format with one %s
extern const char* const warningCaption;
extern const char* const errorCaption;

// Refusals that keep a file or a run log from being damaged; the path follows each
extern const char* const fileHasOtherLinks;
extern const char* const runLogInUse;
// The tools log that a run cannot empty: its path, this text, then the reason
extern const char* const toolsLogCannotBeWritten;
extern const char* const toolsLogIsLink;

}  // namespace language

namespace language {

// Run control
extern const char* const abortRequested;

// Task list view
extern const char* const tasksListLabel;
extern const char* const tasksListHint;
extern const char* const destinationSizeHint;
extern const char* const idColumn;
extern const char* const filenameColumn;
extern const char* const stopWhenFinished;
extern const char* const startTasks;
extern const char* const abortTasks;
extern const char* const addTask;
extern const char* const modifyTask;
extern const char* const removeTask;
extern const char* const moveTaskUp;
extern const char* const moveTaskDown;
extern const char* const clearAll;
extern const char* const displayLog;
extern const char* const retryFailedTasks;
extern const char* const projectMenu;
extern const char* const openProjectItem;
extern const char* const saveProjectItem;
extern const char* const exitItem;
extern const char* const optionsItem;
extern const char* const aboutItem;

// Hover text of a task
extern const char* const temporaryMark;
extern const char* const demuxedToHeading;
extern const char* const remuxedToHeading;
extern const char* const reauthoredIntoHeading;
extern const char* const withChaptersHeading;
extern const char* const temporaryLegend;
extern const char* const everyAudioTrackLine;

// Task editor
extern const char* const taskManagerCaption;
extern const char* const sourceVobLabel;
extern const char* const streamsLabel;
extern const char* const remuxedVobLabel;
extern const char* const dvdFolderLabel;
extern const char* const chaptersLabel;
extern const char* const deleteVobAfterUse;
extern const char* const deleteStreamsAfterUse;
extern const char* const deleteOrigVobHint;
extern const char* const deleteStreamsHint;
extern const char* const deleteVobHint;
extern const char* const browseButton;
extern const char* const browseForOriginalVobHint;
extern const char* const browseForVobHint;
extern const char* const importButton;
extern const char* const chapterListHint;
extern const char* const demuxStage;
extern const char* const remuxStage;
extern const char* const authorStage;
extern const char* const cancelButton;
extern const char* const okButton;
extern const char* const derivedVideoStreamName;
extern const char* const derivedAudioStreamName;
extern const char* const derivedRemuxedVobName;
extern const char* const remuxedVobChooserName;
extern const char* const cellTimesFileName;
extern const char* const sourceVobFilter;
extern const char* const videoStreamFilter;
extern const char* const audioStreamFilter;
extern const char* const vobFilter;
extern const char* const chapterFileFilter;
extern const char* const openVideoSourceTitle;
extern const char* const streamDestinationTitle;
extern const char* const openStreamSourceTitle;
extern const char* const remuxedVobDestinationTitle;
extern const char* const dvdFolderTitle;
extern const char* const openChapterFileTitle;
extern const char* const remuxedOverwritesSource;
extern const char* const sameNameOnOk;
extern const char* const pointOfNoReturn;
extern const char* const inputFileMissing;
extern const char* const folderCannotBeCreated;
extern const char* const cannotCreateFolder;  // the runtime's own, French

// Options dialog
extern const char* const optionsCaption;
extern const char* const toolLocationsGroup;
extern const char* const demuxerLabel;
extern const char* const demuxerLocation;
extern const char* const multiplexerLabel;
extern const char* const multiplexerLocation;
extern const char* const authoringLabel;
extern const char* const authoringLocation;
extern const char* const standardLabel;
extern const char* const standardHint;
extern const char* const palStandard;
extern const char* const ntscStandard;
extern const char* const tasksAtOnceLabel;
extern const char* const tasksAtOnceHint;

}  // namespace language

namespace language {

// Run control and log viewer
extern const char* const noLogFile;
extern const char* const logFormCaption;
extern const char* const refreshButton;

// Project commands
extern const char* const projectChooserTitle;
extern const char* const projectFilter;
extern const char* const projectExtension;
extern const char* const projectSaveInProgress;
extern const char* const projectLoadInProgress;

// About box
extern const char* const aboutCaption;
extern const char* const licenceFileName;
extern const char* const aboutAuthorLine;
extern const char* const aboutContact;
extern const char* const aboutContactAddress;
extern const char* const aboutWebSite;
extern const char* const aboutThanks;
extern const char* const aboutDemuxer;
extern const char* const aboutMultiplexer;
extern const char* const aboutAuthoring;
extern const char* const aboutBothTools;

}  // namespace language

namespace language {

// End of a run with the shutdown box ticked
extern const char* const powerOffCountdown;  // printf format with one %d
extern const char* const powerOffCountdownHint;

// The task list kept for a restart
extern const char* const restoreUnsavedList;  // printf format with one %d
extern const char* const recoveryUnreadable;
extern const char* const recoveryKeptAs;
extern const char* const recoveryNotWritten;

// Adding many source files at once: the summary
extern const char* const bulkTasksAdded;    // printf format with one %d
extern const char* const bulkFilesSkipped;  // printf format with one %d
extern const char* const bulkMoreFiles;     // printf format with one %d
extern const char* const bulkNotSource;
extern const char* const bulkUnreadable;
extern const char* const bulkNoAudioStream;
extern const char* const bulkOverwritesSource;
extern const char* const bulkFolderNotCreated;
extern const char* const bulkCannotBeAdded;
extern const char* const bulkAlreadyATask;
extern const char* const remuxedPrefix;
extern const char* const ownNamesForClash;
extern const char* const sharedFilesKept;
extern const char* const ownDvdFolderSuffix;
extern const char* const bulkOwnNamesGiven;  // printf format with one %d

// The source's streams in the task editor
extern const char* const keepEveryAudioTrack;
extern const char* const sourceStreamsLabel;
extern const char* const streamsBeingListed;
extern const char* const streamsNotListed;
extern const char* const streamKindVideo;
extern const char* const streamKindAudio;
extern const char* const streamKindSubtitle;
extern const char* const streamChannels;  // printf format with one %d
extern const char* const streamLeftOutUntakeable;
extern const char* const streamLeftOutNotFirstAc3;
// A task error at its start: an output path names the source (the output's path, this, the
// source's, the end), or is a symbolic link to nothing (the path, this).
extern const char* const streamIsSource;
extern const char* const streamIsSourceEnd;
extern const char* const outputIsDanglingLink;
// After the audio demultiplexing of a title whose tracks were kept in step with its video at
// some places after their start: the number of places, then the largest correction.
extern const char* const audioKeptInStep;
extern const char* const audioKeptInStepOnce;
extern const char* const audioKeptInStepLargest;
extern const char* const streamsDemuxInProgress;
extern const char* const subtitlesForDvd;
extern const char* const subtitleStreamCountOne;
extern const char* const subtitleStreamCount;
extern const char* const subtitleWithoutLanguage;
extern const char* const subtitleForcedOnly;
extern const char* const subtitlePaletteOf;
extern const char* const subtitlePaletteStandard;
extern const char* const controlFileNotWritten;
extern const char* const dvdOneSubtitleStream;
extern const char* const dvdSubtitleStreams;
extern const char* const dvdFewerSubtitles;
extern const char* const keepEverySubtitleStream;
extern const char* const everySubtitleStreamLine;
extern const char* const subtitlesWithoutIfo;
extern const char* const subtitlesLeftOut;  // printf format with one %d
extern const char* const leftOutHeading;
extern const char* const nothingLeftOut;

}  // namespace language

namespace language {

// A tool that ended with an error status: the command line, this text, the status
extern const char* const toolExitStatus;

// Reading an authored DVD back: the summary line, "DVD checked: 1 title, 3 chapters, 0:00:24,
// 1 audio track, PAL"
extern const char* const dvdChecked;
extern const char* const dvdOneTitle;
extern const char* const dvdTitles;
extern const char* const dvdOneChapter;
extern const char* const dvdChapters;
extern const char* const dvdOneAudioTrack;
extern const char* const dvdAudioTracks;
extern const char* const dvdSummarySeparator;
extern const char* const dvdSummaryEnd;

// What the check finds, after the path of the title set's IFO
extern const char* const dvdUnreadable;
extern const char* const dvdFewerChapters;       // then "2 < 3"
extern const char* const dvdShorterPlayback;     // then "0:00:20 < 0:00:24"
extern const char* const dvdMissingAudio;        // then the format and the two counts
extern const char* const dvdAudioCountsBetween;  // " (VOB ", then ", DVD ", then ")"
extern const char* const dvdAudioCountsDvd;
extern const char* const dvdAudioCountsEnd;
extern const char* const dvdOtherStandard;  // then "NTSC, the VOB is PAL"
extern const char* const dvdStandardOfVob;
extern const char* const dvdAnyAudio;
extern const char* const dvdSeveralVideoStreams;  // then the number of video streams
extern const char* const dvdFallsShortOf;
extern const char* const fileKeptDvdCheckFailed;

// Audio formats of a DVD
extern const char* const audioAc3;
extern const char* const audioMpeg1;
extern const char* const audioMpeg2;
extern const char* const audioLpcm;
extern const char* const audioDts;
extern const char* const audioOther;

// A task's disc: fitting its video, checking its DVD against it, and its image
extern const char* const fittingInProgress;
extern const char* const imageInProgress;
// "Video fitted to DVD-5: requantized by 1.284, to 78 % of its size "
extern const char* const videoFittedTo;
extern const char* const videoFittedFactor;
extern const char* const videoFittedShare;
extern const char* const videoFittedShareEnd;
// "The title fits DVD-5 as it is (about 4.61 GB of 4.70 GB): its video is not requantized "
extern const char* const discFitsAsItIs;
extern const char* const discAbout;
extern const char* const discOf;
extern const char* const discFitsAsItIsEnd;
// "PATH takes 4.61 GB as an image (DVD-5 holds 4.70 GB) ", or the same ending in
// discFittedAgain; "Image made: PATH, 4.61 GB (DVD-5 holds 4.70 GB) "
extern const char* const discTakes;
extern const char* const discAsImage;
extern const char* const discHoldsOpen;
extern const char* const discHolds;
extern const char* const discHoldsClose;
extern const char* const discFittedAgain;
extern const char* const imageMade;
extern const char* const imageSize;
// "PATH takes 4.75 GB as an image !\r\nThat is 52 MB more than DVD-5 holds (4.70 GB)."
extern const char* const discTooBig;
extern const char* const discTooBigMore;
extern const char* const discHoldsIn;
extern const char* const discTooBigEnd;
extern const char* const discCannotFit;
extern const char* const discNoRoomForVideo;
// The editor's prediction: "about 5.21 GB: fitted to DVD-5, video at 86 %", "about 4.12 GB:
// fits DVD-5", "about 9.10 GB: too big for DVD-5", or "The disc "NAME" is none this program knows"
extern const char* const predictionAbout;
extern const char* const predictionFits;
extern const char* const predictionFitted;
extern const char* const predictionVideoAt;
extern const char* const predictionPercent;
extern const char* const predictionTooBig;
extern const char* const discUnknownShort;
// The editor's and the options dialog's controls of the disc
extern const char* const discLabel;
// The hover text's lines: "fitted to the disc DVD-5", "its image FOLDER.iso"
extern const char* const discLine;
extern const char* const imageLine;
extern const char* const discNone;
extern const char* const imageBox;
extern const char* const discForNewTasksLabel;
extern const char* const requantizerLabel;
extern const char* const imagerLabel;
extern const char* const discNotKnown;  // then discUnknownAfterOptions
// "The disc "NAME" is none this program knows: ..."
extern const char* const discUnknownBefore;
extern const char* const discUnknownAfter;

// Why an IFO file cannot be read: the file's name, the separator, the reason
extern const char* const ifoInFile;
extern const char* const ifoCannotOpen;
extern const char* const ifoTooLarge;
extern const char* const ifoNotTitleSet;
extern const char* const ifoNotVideoManager;
extern const char* const ifoTruncated;
extern const char* const ifoNoTitle;
extern const char* const ifoBadTime;

}  // namespace language

namespace language {

// Files whose lines are read: the path, then these
extern const char* const lineTooLongAt;  // then the line's number
extern const char* const lineTooLongEnd;
extern const char* const chapterListTooLong;
// A settings file whose values are not used: the path, then one of these
extern const char* const settingsBinary;
extern const char* const settingsNoSection;
// Start-up of the window: the project's path, then one of these
extern const char* const commandLineProjectNotOpened;
extern const char* const projectNotOpenedAfterRestore;

}  // namespace language
