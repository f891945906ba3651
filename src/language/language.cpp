#include "language/language.h"

namespace language {

const char* const programTitle = "Marovink";
const char* const programVersion = "1.3.3";
const char* const webPageAddress = "https://marovink.org";

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
