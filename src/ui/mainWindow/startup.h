#pragma once

class QMainWindow;
struct ProgramServices;

// The windows that the program makes at start-up, hidden and never shown, with only their
// designed contents: a task editor, a log viewer and an about box, owned by the main window.
void createHiddenInstances(QMainWindow& mainWindow, ProgramServices& services);
