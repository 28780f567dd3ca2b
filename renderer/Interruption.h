// SIGINT, SIGTERM and SIGHUP (on Windows Ctrl+C, Ctrl+Break and closing the console) stop orvane-render at
// once but cleanly: the temporary files of the frames being written are removed, every finished frame stays,
// the progress line is cleared, the user is told how many frames were written, and the exit code is 128 +
// the signal's number, also when that report cannot be written (standard error a terminal nobody reads). A
// signal that was ignored when the program started stays ignored. Writing to a closed pipe or past a file
// size limit fails with an error instead of killing the process.
#pragma once

#include <string>

namespace OrvaneTools {

// Call first in main, before any other thread starts: the signals are then taken by a thread of their own,
// which stops the process as described above.
void takeOverSignals();

// Holds off a stop while the caller changes what a stop cleans up and reports, so that the stop sees the
// state before or after the change, never half of it. The functions below are called only while a hold
// exists; a hold lasts a few system calls, never a whole write.
class HoldStops {
public:
    HoldStops();
    ~HoldStops();
    HoldStops(const HoldStops&) = delete;
    HoldStops& operator=(const HoldStops&) = delete;
};

// The temporary files a stop removes: one for each frame being written (several frames may be written at
// once), noted before each is made (so that noting cannot fail once it exists) and forgotten once renamed or
// removed. Forgetting allocates nothing.
void noteTemporaryFile(const std::string& path);
void forgetTemporaryFile(const std::string& path);
// Frames planned and written, for the report of a stop; a stop before the plan is known reports none.
void noteFramesPlanned(long count);
void noteFrameWritten();
// The width of the progress line shown on stderr (0 when none), which a stop clears first.
void noteStatusLine(int columns);

} // namespace OrvaneTools
