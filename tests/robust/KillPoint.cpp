// The kill points of the test build: the process ends itself at the step named
// by LEXINST_KILL_AT, as if it had been killed there.
#include "installer/KillPoint.h"

#include <windows.h>

void KillPoint(const char* step)
{
    char wanted[64] = {};  // a longer value is not read
    if (::GetEnvironmentVariableA("LEXINST_KILL_AT", wanted, sizeof(wanted)) && ::lstrcmpA(wanted, step) == 0)
        ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
}
