#include "editing/stageView.h"

StageView stageView(bool demux, bool remux, bool author) {
    StageView view{};
    view.author = author && !(demux && !remux);
    view.sourceShown = demux;
    view.streamsShown = demux || remux;
    view.remuxShown = remux;
    view.remuxedShown = remux || view.author;
    view.authorShown = view.author;
    return view;
}
