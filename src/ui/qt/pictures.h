#pragma once

#include <QIcon>
#include <QPixmap>

// Status icons of a task row, 16 x 16, by index: 0 running, 1 done, 2 failed.
QIcon statusIcon(int index);

// The decorative arrows of the task editor: down between two stages, right to the chapters.
QPixmap downArrowPicture(QSize size);
QPixmap rightArrowPicture(QSize size);

// The program's own icon, side x side: a disc authored into a folder (data/marovink.svg is the
// same drawing for the desktop).
QPixmap programPicture(int side);
