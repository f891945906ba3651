#include "language/language.h"

namespace language {

const char* const programTitle = "Marovink";
const char* const programVersion = "1.3.3";
const char* const webPageAddress = "https://github.com/marovink/marovink";

const char* const programFileMissing =
    " program file is missing,\r\ncheck the path and re-enter it in the option dialog";

const char* const fileDoesNotExist = " file doesn't exists !\r\nThis task will abort.";
const char* const notEnoughFreeSpace =
    "There is not enough free space on destination drive to process ";
const char* const commandLineAborted = " command line aborted\r\nThis task won't continue.";
const char* const commandLineExecutionFailed = "The following command line execution failed !";
const char* const stepSeparator = "\r\n    ";
const char* const audioDemuxInProgress = "Audio stream DEMUX in progress...";
const char* const videoDemuxInProgress = "Video stream DEMUX in progress...";
const char* const remuxInProgress = "REMUX in progress...";
const char* const titleAuthoringInProgress = "TITLE authoring (VTS_01_n.IFO) in progress...";
const char* const folderAuthoringInProgress = "DVD FOLDER authoring (VIDEO_TS.IFO) in progress...";
const char* const stepDone = "Done ";
const char* const fileDeleted = " deleted ";
const char* const fileKept = " kept, as the output is short ";
const char* const fileNotDeleted = " file couldn't be deleted !\r\n";
const char* const videoTsNotEmpty =
    " folder already holds a DVD !\r\nIt was left as it is, and the remultiplexed VOB is kept. "
    "This task will abort.";
const char* const videoTsNotEmptyAtStart =
    " folder already holds a DVD !\r\nNothing was run or deleted, and the DVD was left as it "
    "is. This task will abort.";

const char* const fileSizeMismatchBefore =
    "The file size doesn't match with expectation.\r\nAn error probably occured, Check it !\r\n"
    "The source file may be too much corrupted\r\n=> Try to cut the video to remove the part on "
    "which the process fails\r\nSee explanations on ";
const char* const videoTsSizeMismatchBefore =
    "The VIDEO_TS content size doesn't match with expectation.\r\nAn error probably occured !\r\n"
    "Check it. The source file may be too much corrupted. Try using ifoEdit and/or vobEdit "
    "softwares\r\nSee explanations on ";
const char* const sizeMismatchAfter = " if needed.\r\n(size/expected (tolerance) = ";

const char* const logTaskStarted = "New Task started, task N\xc2\xb0 ";
const char* const logStepDoneAfter = "after ";
const char* const logStepDoneSeconds = "s \r\n";
const char* const logStepDoneRule = "    ______________________";
const char* const logTaskError = "ERROR !!!! ==>>> ";
const char* const logAborted = "==>> Tasks process aborted by user !!!!!!!!!!!";
const char* const logAllTasksFinished = "      ---   All Tasks finished !!!   ---";

const char* const runTaskPosition = " \xe2\x80\x94 task ";
const char* const runDash = " \xe2\x80\x94 ";
const char* const runTaskRunning = " task running, ";
const char* const runTasksRunning = " tasks running, ";
const char* const runTasksEnded = " ended";
const char* const runTaskOf = " of ";
const char* const runAbout = ", about ";
const char* const runMinutesLeft = " min left";
const char* const runSecondsLeft = " s left";
const char* const runCaptionPercent = " % \xe2\x80\x94 ";

const char* const runSummaryTask = " task: ";
const char* const runSummaryTasks = " tasks: ";
const char* const runSummaryDone = " done";
const char* const runSummaryWithErrors = " with errors";
const char* const runSummaryCutShort = " cut short";
const char* const runSummaryNotStarted = " not started";
const char* const runSummarySeparator = ", ";
const char* const taskCutShortNote = "Cut short: the run was stopped before this task ended.";

const char* const stopAfterRunningTasks = "Stop after the running tasks";
const char* const stopAfterRunningRequested = "No further task starts: the running tasks finish";
const char* const logStoppedAfterRunning =
    "==>> Stopped after the running tasks: those not started are left for a retry.";

const char* const fileAccessDenied = "Accès au fichier refusé";
const char* const fileNotFound = "Fichier introuvable";
const char* const diskFull = "Disque plein";
const char* const ioErrorNumber = "Erreur E/S %d";
const char* const cannotOpenFile = "Impossible d'ouvrir le fichier %s";
const char* const notAnInteger = "'%s' n'est pas une valeur entière correcte";
const char* const warningCaption = "Avertissement";
const char* const errorCaption = "Erreur";

const char* const fileHasOtherLinks =
    "The file has other hard links, which a save would cut; it was not saved: ";
const char* const runLogInUse = "Another run is using the run log; this run was not started: ";
const char* const toolsLogCannotBeWritten = " cannot be written as the tools log: ";
const char* const toolsLogIsLink = "it is a symbolic link, which is never followed";

}  // namespace language

namespace language {

const char* const abortRequested =
    "Abort requested: the tasks will stop once the running step has ended.";

const char* const tasksListLabel = "Tasks list (source files) :";
const char* const tasksListHint = "list of tasks (source file is displayed)";
const char* const destinationSizeHint = "destination file (or dir.) size";
const char* const idColumn = "ID";
const char* const filenameColumn = "Filename";
const char* const stopWhenFinished = "Shutdown the computer when finished";
const char* const startTasks = "Start Tasks";
const char* const abortTasks = "Abort Tasks";
const char* const addTask = "Add Task...";
const char* const modifyTask = "Modify Task...";
const char* const removeTask = "Remove Task";
const char* const moveTaskUp = "Move Up";
const char* const moveTaskDown = "Move Down";
const char* const clearAll = "Clear All";
const char* const displayLog = "Display LOG";
const char* const retryFailedTasks = "Retry failed tasks";
const char* const projectMenu = "Project";
const char* const openProjectItem = "Open...";
const char* const saveProjectItem = "Save...";
const char* const exitItem = "Exit";
const char* const optionsItem = "Options...";
const char* const aboutItem = "About";

const char* const temporaryMark = " (tmp)";
const char* const demuxedToHeading = "   demuxed to :";
const char* const remuxedToHeading = "   remuxed to :";
const char* const reauthoredIntoHeading = "   re-authored into :";
const char* const withChaptersHeading = "   with chapters :";
const char* const temporaryLegend =
    "(\"(tmp)\" means that the file will be deleted when it has been used)";
const char* const everyAudioTrackLine = "every audio track";

const char* const taskManagerCaption = "Task manager";
const char* const sourceVobLabel = "Source VOB file :";
const char* const streamsLabel =
    "(temporary) Demuxed streams files (video= .m2v file and audio = .ac3 file) :";
const char* const remuxedVobLabel = "(temporary) Remuxed VOB file :";
const char* const dvdFolderLabel =
    "Destination for the resulting DVD folder (will contains later a VIDEO_TS subfolder) :";
const char* const chaptersLabel = "Chapters";
const char* const deleteVobAfterUse = "Delete this VOB file, after use.";
const char* const deleteStreamsAfterUse = "Delete both files, after use.";
const char* const deleteOrigVobHint = "If checked, once it has been demuxed, it will be deleted !";
const char* const deleteStreamsHint =
    "If checked, once they has been remuxed to one unique VOB file, they will be deleted !";
const char* const deleteVobHint =
    "If checked, once the DVD folder (VIDEO_TS) has been created with appropriate content (IFO "
    "and VOB), this old VOB will be deleted !";
const char* const browseButton = "Browse...";
const char* const browseForOriginalVobHint = "To locate the source file in your machine";
const char* const browseForVobHint = "To search a destination for this temporary VOB file";
const char* const importButton = "Import...";
const char* const chapterListHint =
    "Enter chapters location expressed in the form  hh:mm:ss (ex: 00:05:00). One location per "
    "line.";
const char* const demuxStage = "Demux";
const char* const remuxStage = "Remux";
const char* const authorStage = "Author";
const char* const cancelButton = "Cancel";
const char* const okButton = "OK";
const char* const derivedVideoStreamName = "VTS_01_1.m2v";
const char* const derivedAudioStreamName = "VTS_01_1.ac3";
const char* const derivedRemuxedVobName = "remuxedVTS_01_1.VOB";
const char* const remuxedVobChooserName = "VTS_01_1.VOB";
const char* const cellTimesFileName = "CellTimes.txt";
const char* const sourceVobFilter = "Fichiers Mpeg2 DVD (*.VOB)|*.VOB|video stream (*.m2v)|*.m2v";
const char* const videoStreamFilter = "video stream file (*.m2v)|*.m2v";
const char* const audioStreamFilter = "audio stream file (*.ac3)|*.ac3";
const char* const vobFilter = "video file (*.VOB)|*.VOB";
const char* const chapterFileFilter = "text file (*.txt)|*.txt";
const char* const openVideoSourceTitle = "Open the video file source";
const char* const streamDestinationTitle = "Select stream file destination";
const char* const openStreamSourceTitle = "Open the stream source";
const char* const remuxedVobDestinationTitle = "Select the remuxed video file destination";
const char* const dvdFolderTitle = "Select the folder in which the VIDEO_TS folder will be created";
const char* const openChapterFileTitle = "Open the text file that contains chapters locations";
const char* const remuxedOverwritesSource =
    "BE CAREFULL !!!\r\nremuxed VOB file and original VOB file has the same name,\r\nwhich means "
    "that the original VOB file will be overwritten by the re-mux process !\r\nAre you really "
    "sure it's what you want ?\r\n\r\n(To avoid this, enter a new name for the remuxed file)";
const char* const sameNameOnOk =
    "Original and muxed Vob file has the same name ! \r\nTherefore the original VOB file will be "
    "overwritten during the process.\r\nAbort and rename one of this file to avoid overwriting.";
const char* const pointOfNoReturn =
    "Be CAREFULL !!!\r\nIt's a point of no return! If you suppress the source file when the task "
    "is done,\r\nyou won't be able to re-do it later (if a problem occurs for instance !).\r\n"
    "Therefore choose this, only if you are sure of what you are doing.";
const char* const inputFileMissing = " file is missing !!!\r\nPlease re-enter a correct path";
const char* const folderCannotBeCreated =
    " directory doesn't exists and can't be created !\r\nPlease select another one.";
const char* const cannotCreateFolder = "Impossible de créer le répertoire";

const char* const optionsCaption = "Options";
const char* const toolLocationsGroup = "External command line software locations";
const char* const demuxerLabel = "bbDMUX.exe";
const char* const demuxerLocation =
    " file location (it is included inside the bbTool 1.9 package) :";
const char* const multiplexerLabel = "mplex.exe";
const char* const multiplexerLocation =
    " file location (it is included inside the DVDStyler package) :";
const char* const authoringLabel = "dvdauthor.exe";
const char* const authoringLocation =
    " file location (it is included inside the DVDStyler package) :";
const char* const standardLabel = "Standard";
const char* const standardHint = "(to convert chapters in fps into time if needed)";
const char* const palStandard = "PAL";
const char* const ntscStandard = "NTSC";
const char* const tasksAtOnceLabel = "Tasks at once";
const char* const tasksAtOnceHint =
    "(tasks that run at the same time; 1 runs them one after the other)";

}  // namespace language

namespace language {

const char* const noLogFile =
    "No log file exists at the moment !\r\nIt should be automatically created once some tasks "
    "will be run.";
const char* const logFormCaption = "Marovink Log";
const char* const refreshButton = "Refresh";

const char* const projectChooserTitle = "Enter the project name";
const char* const projectFilter = "Marovink project (*.mvk)|*.mvk";
const char* const projectExtension = "mvk";
const char* const projectSaveInProgress = "Project save in progress...";
const char* const projectLoadInProgress = "Project load in progress...";

const char* const aboutCaption = "About Marovink";
const char* const licenceFileName = "gpl.txt";
const char* const aboutAuthorLine = "Marovink, written by the Marovink authors, 2026";
const char* const aboutContact = "Contact : ";
const char* const aboutContactAddress = "https://github.com/marovink/marovink/issues";
const char* const aboutWebSite = "Web Site : ";
const char* const aboutThanks = "Many thanks to authors and contributors to projects :";
const char* const aboutDemuxer =
    "bbDMUX => on Linux its work is done by ffmpeg, https://ffmpeg.org (download at "
    "https://ffmpeg.org/download.html)";
const char* const aboutMultiplexer = "mplex => https://mjpeg.sourceforge.io";
const char* const aboutAuthoring = "dvdauthor => https://dvdauthor.sourceforge.net";
const char* const aboutBothTools =
    "compiled version of both mplex and dvdauthor can be obtained, for example, by installing "
    "DVDAuthorGUI => or, on Linux, the mjpegtools and dvdauthor packages of the distribution";

}  // namespace language

namespace language {

const char* const powerOffCountdown = "The computer switches off in %d s.";
const char* const powerOffCountdownHint = "All tasks are finished. Cancel keeps the computer on.";

const char* const restoreUnsavedList =
    "The task list was not saved when Marovink last ended.\r\nRestore its %d task(s) ?\r\n"
    "(No discards them.)";
const char* const recoveryUnreadable = " cannot be read, so no task list is restored from it:\r\n";
const char* const recoveryKeptAs = "\r\nThe file is kept as ";
const char* const recoveryNotWritten =
    " cannot be written, so the task list is not kept for a restart:\r\n";

const char* const bulkTasksAdded = "Tasks added: %d";
const char* const bulkFilesSkipped = "Files skipped: %d";
const char* const bulkMoreFiles = "... and %d more";
const char* const bulkNotSource = " is not a VOB or .m2v file";
const char* const bulkUnreadable = " cannot be read";
const char* const bulkNoAudioStream = " has no audio stream (.ac3) of the same name beside it";
const char* const bulkOverwritesSource = " would be overwritten by its remuxed VOB file";
const char* const bulkFolderNotCreated = " : its destination folder cannot be created";
const char* const bulkCannotBeAdded = " cannot be added: ";
const char* const bulkAlreadyATask = " is already the source of a task";
const char* const remuxedPrefix = "remuxed";
const char* const ownNamesForClash =
    "Task N\xc2\xb0 %d already uses these names: this task now has names of its own, from its "
    "source's name. Check them, then press OK again.";
const char* const sharedFilesKept =
    "Task N\xc2\xb0 %d uses the same files or folder as this task: the two never run at the "
    "same time, but one may write over what the other made. Press OK again to keep the task as "
    "it is.";
const char* const ownDvdFolderSuffix = " DVD";
const char* const bulkOwnNamesGiven =
    "Given names of their own, as their folder holds other sources: %d";

const char* const keepEveryAudioTrack = "Keep every audio track";
const char* const sourceStreamsLabel = "Streams of the source :";
const char* const streamsBeingListed = "Listing the source's streams...";
const char* const streamsNotListed =
    "The demultiplexer cannot list the source's streams: they cannot be shown here.";
const char* const streamKindVideo = "video";
const char* const streamKindAudio = "audio";
const char* const streamKindSubtitle = "subtitle";
const char* const streamChannels = "%d ch";
const char* const streamLeftOutUntakeable = " : the multiplexer cannot take this track";
const char* const streamLeftOutNotFirstAc3 = " : only the first AC-3 track is kept";
const char* const audioKeptInStep = "Audio kept in step at %d places";
const char* const audioKeptInStepOnce = "Audio kept in step at %d place";
const char* const audioKeptInStepLargest = " (the largest %d ms)";
const char* const streamsDemuxInProgress = "Video, audio and subtitle streams DEMUX in progress...";
const char* const subtitlesForDvd = "Subtitles for the DVD: ";
const char* const subtitleStreamCountOne = " stream";
const char* const subtitleStreamCount = " streams";
const char* const subtitleWithoutLanguage = "no language";
const char* const subtitleForcedOnly = " forced";
const char* const subtitlePaletteOf = ", the palette of ";
const char* const subtitlePaletteStandard =
    ", dvdauthor's standard palette: no title set IFO lies beside the source";
const char* const controlFileNotWritten = " couldn't be written: ";
const char* const keepEverySubtitleStream = "Keep every subtitle stream";
const char* const everySubtitleStreamLine = "every subtitle stream";
const char* const subtitlesWithoutIfo =
    "No title set IFO lies beside the source: the subtitles get a standard palette, and their "
    "colours may be wrong.";
const char* const streamIsSource = " would be written over the task's source VOB ";
const char* const streamIsSourceEnd = ": every output must be a file of its own.";
const char* const outputIsDanglingLink =
    " is a symbolic link to nothing: an output is never written through it.";
const char* const subtitlesLeftOut =
    "%d subtitle stream(s) : \"Keep every subtitle stream\" is not ticked";
const char* const leftOutHeading = "Left out :";
const char* const nothingLeftOut = "nothing";

}  // namespace language

namespace language {

const char* const toolExitStatus = " command line ended with exit status ";

const char* const dvdChecked = "DVD checked: ";
const char* const dvdOneTitle = " title";
const char* const dvdTitles = " titles";
const char* const dvdOneChapter = " chapter";
const char* const dvdChapters = " chapters";
const char* const dvdOneAudioTrack = " audio track";
const char* const dvdAudioTracks = " audio tracks";
const char* const dvdOneSubtitleStream = " subtitle stream";
const char* const dvdSubtitleStreams = " subtitle streams";
const char* const dvdFewerSubtitles = " holds fewer subtitle streams than the task keeps: ";
const char* const dvdSummarySeparator = ", ";
// A blank before the duration that the run log adds, as after "Done ".
const char* const dvdSummaryEnd = " ";

const char* const dvdUnreadable = " couldn't be read back: ";
const char* const dvdFewerChapters = " holds fewer chapters than the chapter list has points: ";
const char* const dvdShorterPlayback =
    " plays for a shorter time than the remultiplexed VOB's video: ";
const char* const dvdMissingAudio = " lacks an audio track of the remultiplexed VOB: ";
const char* const dvdAudioCountsBetween = " (VOB ";
const char* const dvdAudioCountsDvd = ", DVD ";
const char* const dvdAudioCountsEnd = ")";
const char* const dvdOtherStandard = " is ";
const char* const dvdStandardOfVob = ", the remultiplexed VOB is ";
const char* const dvdAnyAudio = "audio";
const char* const dvdSeveralVideoStreams =
    " holds a title of several video streams, as the remultiplexed VOB does, where a DVD title "
    "carries one: ";
const char* const dvdFallsShortOf = " < ";
const char* const fileKeptDvdCheckFailed = " kept, as the DVD check failed ";

const char* const audioAc3 = "AC-3";
const char* const audioMpeg1 = "MPEG-1";
const char* const audioMpeg2 = "MPEG-2";
const char* const audioLpcm = "LPCM";
const char* const audioDts = "DTS";
const char* const audioOther = "other audio";

const char* const fittingInProgress = "VIDEO FITTING to the disc in progress...";
const char* const imageInProgress = "DVD IMAGE in progress...";
const char* const videoFittedTo = "Video fitted to ";
const char* const videoFittedFactor = ": requantized by ";
const char* const videoFittedShare = ", to ";
const char* const videoFittedShareEnd = " % of its size ";
const char* const discFitsAsItIs = "The title fits ";
const char* const discAbout = " as it is (about ";
const char* const discOf = " of ";
const char* const discFitsAsItIsEnd = "): its video is not requantized ";
const char* const discTakes = " takes ";
const char* const discAsImage = " as an image";
const char* const discHoldsOpen = " (";
const char* const discHolds = " holds ";
const char* const discHoldsClose = ") ";
const char* const discFittedAgain = ": its video is fitted once more ";
const char* const imageMade = "Image made: ";
const char* const imageSize = ", ";
const char* const discTooBig = " !\r\nThat is ";
const char* const discTooBigMore = " more than ";
const char* const discHoldsIn = " holds (";
const char* const discTooBigEnd = ").";
const char* const discCannotFit =
    " Only a task that remultiplexes and authors its video can fit it to the disc.";
const char* const discNoRoomForVideo =
    "The other streams alone take more than the disc holds: the video cannot be fitted to it. "
    "This task will abort.";
const char* const predictionAbout = "about ";
const char* const predictionFits = ": fits ";
const char* const predictionFitted = ": fitted to ";
const char* const predictionVideoAt = ", video at ";
const char* const predictionPercent = " %";
const char* const predictionTooBig = ": too big for ";
const char* const discUnknownShort = "\" is none this program knows";
const char* const discLabel = "Disc";
const char* const discLine = "fitted to the disc ";
const char* const imageLine = "its image ";
const char* const discNone = "(none)";
const char* const imageBox = "DVD image (.iso)";
const char* const discForNewTasksLabel = "Disc of new tasks";
const char* const requantizerLabel = "Requantizer";
const char* const imagerLabel = "Image tool";
const char* const discNotKnown =
    "\" is none this program knows: choose DVD-5, DVD-9 or 8cm, or type whole megabytes such as "
    "4000MB.";
const char* const discUnknownBefore = "The disc \"";
const char* const discUnknownAfter =
    "\" is none this program knows: DVD-5, DVD-9, 8cm, or whole megabytes such as 4000MB.\r\n"
    "Nothing was run. This task will abort.";

const char* const ifoInFile = ": ";
const char* const ifoCannotOpen = "the file cannot be opened";
const char* const ifoTooLarge = "the file is too large for an IFO file";
const char* const ifoNotTitleSet = "the file is not a title set's IFO file";
const char* const ifoNotVideoManager = "the file is not a DVD's table of contents";
const char* const ifoTruncated = "the file is cut short or damaged";
const char* const ifoNoTitle = "the title set holds no title";
const char* const ifoBadTime = "the playback time is no valid time";

}  // namespace language

namespace language {

const char* const lineTooLongAt = " cannot be read: its line ";
const char* const lineTooLongEnd = " is longer than 1 MiB (1,048,576 bytes)";
const char* const chapterListTooLong =
    " gives a chapter list longer than 1 MiB (1,048,576 bytes); it was not imported";
const char* const settingsBinary =
    " holds binary bytes (NUL), so it is no settings file: the built-in settings are used";
const char* const settingsNoSection =
    " holds no section line such as [software path], so none of its values is used: the "
    "built-in settings are used";
const char* const commandLineProjectNotOpened = " named on the command line cannot be opened: ";
const char* const projectNotOpenedAfterRestore =
    " named on the command line was not opened, so that the task list of the last session, "
    "just restored and not saved yet, is not lost. Save that list, then open the project.";

}  // namespace language
