#pragma once

#include <string>
#include <vector>

#include "runner/exec/processThreadUnit.h"
#include "runner/plan/subtitleStreams.h"
#include "runner/plan/taskPlan.h"

struct TprocessThread::TaskRun {
    const Ttask& task;
    plan::TaskPlan plan;
    plan::StageKind replanFrom = plan::StageKind::Demux;
    // The size the stage's expectations are shares of.
    double referenceKb = 0;
    // The stage's own files and what its steps have written so far.
    std::vector<std::string> stageFiles{};
    bool someOutputIsShort = false;
    bool dvdMatches = true;
    std::vector<AuthoredSubtitle> authoredSubtitles{};
};

// The title's length, from the time stamps of the file its first stage reads: the source, or the
// remultiplexed VOB of a task that only authors; 0 when they do not tell.
double titleSeconds(const Ttask& task);
