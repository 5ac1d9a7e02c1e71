// The kill points of the test build: the process ends itself at the step named
// by LEXINST_KILL_AT, as if it had been killed there, and throws at the step
// named by LEXINST_THROW_AT, as an unexpected failure would.
#include "installer/KillPoint.h"

#include <windows.h>

#include <stdexcept>

namespace {

bool IsNamed(const char* variable, const char* step)
{
    char wanted[64] = {};  // a longer value is not read
    return ::GetEnvironmentVariableA(variable, wanted, sizeof(wanted)) && ::lstrcmpA(wanted, step) == 0;
}

}  // namespace

void KillPoint(const char* step)
{
    if (IsNamed("LEXINST_KILL_AT", step))
        ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
    if (IsNamed("LEXINST_THROW_AT", step))
        throw std::runtime_error(step);
}
