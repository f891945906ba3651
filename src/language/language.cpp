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

const char* const fileAccessDenied = "Accès au fichier refusé";
const char* const fileNotFound = "Fichier introuvable";
const char* const diskFull = "Disque plein";
const char* const ioErrorNumber = "Erreur E/S %d";
const char* const cannotCreateFile = "Impossible de créer le fichier %s";
const char* const cannotOpenFile = "Impossible d'ouvrir le fichier %s";
const char* const notAnInteger = "'%s' n'est pas une valeur entière correcte";
const char* const warningCaption = "Avertissement";
const char* const errorCaption = "Erreur";

}  // namespace language
