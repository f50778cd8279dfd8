// Ctrl+C (SIGINT) and SIGTERM as a request to stop, for runs that stop at a
// point of their own choosing instead of at once: the jobs of a parallel
// batch stop after their current case, and the run that started them passes
// the request on and waits for them. The handler only sets a flag.
#pragma once

// From now on SIGINT and SIGTERM set the flag instead of ending the program
// (and are no longer blocked, if they were).
void CatchStopRequests();
bool StopRequested();
// SIGINT and SIGTERM end the program again, as by default.
void ReleaseStopRequests();
