#pragma once

#include "dvdimage/dvdFolder.h"

namespace dvdimage {

// Sets the ifoPlace of the files of a VIDEO_TS folder (in disc order) to where its IFOs say they
// begin. An IFO that cannot be read, or says what cannot be, leaves the places it gives unset.
void readIfoPlaces(ImageFolder& videoTs);

}  // namespace dvdimage
