#pragma once

class QCoreApplication;

// Loads Qt's own French texts (standard buttons, choosers) into the application. False when the
// translation is not installed; the toolkit then speaks English.
bool loadToolkitTranslation(QCoreApplication& application);
