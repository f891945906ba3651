#pragma once

// What the task editor shows for a choice of stages. A stage's input panel shows when the stage
// runs, its output panel when the stage or the next one runs.
struct StageView {
    // Author's state after the rule: demultiplexing without remultiplexing leaves nothing to
    // author, so Author cannot stay checked then.
    bool author;
    // The source panel and the demux arrow.
    bool sourceShown;
    bool streamsShown;
    // The remux arrow; the streams' delete box is enabled with it.
    bool remuxShown;
    bool remuxedShown;
    // The author arrow, the folder and chapter panels; the VOB's delete box is enabled with them.
    bool authorShown;
};

StageView stageView(bool demux, bool remux, bool author);
