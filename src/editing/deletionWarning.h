#pragma once

#include "task/task.h"

// The editor's delete boxes.
enum class DeleteBox { origVob, streams, remuxedVob };

// True when "boxes" (the editor's box texts and states as they stand) has that delete box checked
// and the file it deletes is the task's own input, which nothing could make again: the
// point-of-no-return warning is due.
bool deletionHasNoReturn(const Ttask& boxes, DeleteBox box);
