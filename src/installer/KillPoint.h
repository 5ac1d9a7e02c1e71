#pragma once
// Named steps at which a test build of the program ends itself, so that tests can
// check what a run killed there leaves behind. In the shipped program they are nothing.
#ifdef LEXINST_KILL_POINTS
// Ends the process with kKilledExitCode when the environment variable
// LEXINST_KILL_AT holds `step`, and throws when LEXINST_THROW_AT does.
inline constexpr unsigned kKilledExitCode = 86;
void KillPoint(const char* step);
#define KILL_POINT(step) KillPoint(step)
#else
#define KILL_POINT(step) ((void)0)
#endif
