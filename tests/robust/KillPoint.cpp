// The kill point hook of the test build, set before wWinMain runs: the process
// ends itself at the step named by LEXINST_KILL_AT, as if it had been killed
// there, and throws at the step named by LEXINST_THROW_AT, as an unexpected
// failure would.
#include "installer/KillPoint.h"

#include <windows.h>

#include <stdexcept>

namespace {

bool IsNamed(const char* variable, const char* step)
{
    char wanted[64] = {};  // a longer value is not read
    return ::GetEnvironmentVariableA(variable, wanted, sizeof(wanted)) && ::lstrcmpA(wanted, step) == 0;
}

void EndOrThrowAtNamedStep(const char* step)
{
    if (IsNamed("LEXINST_KILL_AT", step))
        ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
    if (IsNamed("LEXINST_THROW_AT", step))
        throw std::runtime_error(step);
}

[[maybe_unused]] const bool hookSet = (SetKillPointHook(EndOrThrowAtNamedStep), true);

}  // namespace
