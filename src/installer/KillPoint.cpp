#include "installer/KillPoint.h"

namespace {

KillPointHook killPointHook = nullptr;

}  // namespace

void SetKillPointHook(KillPointHook hook) { killPointHook = hook; }

void KillPoint(const char* step)
{
    if (killPointHook)
        killPointHook(step);
}
