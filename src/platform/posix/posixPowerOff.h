#pragma once

namespace platform {

// Asks logind, then systemctl, to switch the computer off without asking for a password; false
// when neither accepted.
bool requestPosixPowerOff();

}  // namespace platform
