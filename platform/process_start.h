// What a process must settle before it starts any thread or opens any file: the standard
// descriptors, and who hears the signals that ask it to end.
#pragma once

// Opens /dev/null on each of descriptors 0 to 2 that is closed, as some launchers leave
// them: otherwise the first file or socket opened takes its number, and a line meant for
// stderr goes into it.
void OpenStandardDescriptors();

// Blocks SIGINT, SIGTERM and SIGHUP in this thread, and so in every thread it starts from now
// on, and waits for them on a thread of its own. A library's handler (SDL installs some) can
// then never swallow them. Once one arrives, StopSignalStatus gives 128 + its number, for the
// main loop to end with; a loop that does not end within graceMs is ended from here.
void WatchStopSignals(int graceMs);

// 0 until a stop signal has arrived.
int StopSignalStatus();
