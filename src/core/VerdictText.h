#pragma once
// The reader's verdict in words, for people: pvdict show and the installer's log.

#include "core/CellDictFile.h"

#include <string>

// Why `file` failed LoadAndCheck, and where; empty for a valid file.
std::string DescribeVerdict(const CellDictVerdict& verdict, const CellDictFile& file);
