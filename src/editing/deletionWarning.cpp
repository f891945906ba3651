#include "editing/deletionWarning.h"

bool deletionHasNoReturn(const Ttask& boxes, DeleteBox box) {
    switch (box) {
        case DeleteBox::origVob:
            return boxes.deleteOrigVob;
        case DeleteBox::streams:
            return boxes.deleteStreams && !boxes.doDemux;
        case DeleteBox::remuxedVob:
            break;
    }
    return boxes.deleteVob && !boxes.doDemux && !boxes.doRemux;
}
