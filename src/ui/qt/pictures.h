#pragma once

#include <QIcon>
#include <QPixmap>

#include "runner/state/taskBoard.h"

// The icon of a task row's mark, 16 x 16; none for an unmarked row. Each mark has one icon for
// the program's life.
QIcon statusIcon(TaskBoard::Mark mark);

// The decorative arrows of the task editor: down between two stages, right to the chapters.
QPixmap downArrowPicture(QSize size);
QPixmap rightArrowPicture(QSize size);

// The program's own icon, side x side: a disc authored into a folder (data/marovink.svg is the
// same drawing for the desktop).
QPixmap programPicture(int side);
