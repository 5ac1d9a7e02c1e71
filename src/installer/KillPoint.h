#pragma once
// Named steps at which a test build of the program ends itself, so that tests can
// check what a run killed there leaves behind. Each step calls a hook that the test
// build sets; no hook is set in the shipped program.

// The exit code of a process that a kill point ended.
inline constexpr unsigned kKilledExitCode = 86;

using KillPointHook = void (*)(const char* step);
// Every later KILL_POINT calls `hook` with its step's name.
void SetKillPointHook(KillPointHook hook);
void KillPoint(const char* step);  // calls the hook, when one is set

#define KILL_POINT(step) KillPoint(step)
