// The framework's blend-mode codes and their translation to and from the host's transfer modes.
#pragma once

namespace Orvane {

// A framework blend-mode code. Codes 1 to 27 name the further modes the host composites with; the
// translation table in BlendMode.cpp is the one place that says which host mode each one is.
enum BlendMode : int {
    BlendNone = -1,  // the host's "no transfer"
    BlendNormal = 0, // source over destination
};

// Codes outside the table, BlendNormal included, become the host's normal mode (2).
int toHostTransferMode(BlendMode mode);
// Host modes outside the table, the normal mode included, become BlendNormal.
BlendMode fromHostTransferMode(int hostMode);

} // namespace Orvane
