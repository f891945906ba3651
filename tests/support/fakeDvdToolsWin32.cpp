#include "support/fakeDvdTools.h"
#include "support/win32FakeTool.h"

// Copies of the fake tool program, which acts by the name it has and writes the sizes of
// sizes.txt beside it.
void FakeDvdTools::write() const {
    for (const char* name : {"bbdmux", "mplex", "dvdauthor"}) {
        installFakeTool(folder, name);
    }
    writeFakeToolSizes(folder, audioBytes, videoBytes, remuxBytes, titleBytes);
}

SettingsValues FakeDvdTools::settings() const {
    return {folder + "\\bbdmux.exe", folder + "\\mplex.exe", folder + "\\dvdauthor.exe", "PAL"};
}
