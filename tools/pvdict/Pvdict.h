#pragma once
// The pvdict command line: `show` inspects and validates a .pvdict file, `make`
// builds one from a word list.

#include "core/CellDictFile.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace pvdict {

enum ExitCode : int {
    kExitOk = 0,       // valid, or made
    kExitInvalid = 1,  // the file does not validate
    kExitUsage = 2,    // bad command line or bad input
};

// Runs one command. `args` exclude the program name and are UTF-8, as are the
// texts written to `out` and `err`. Returns the exit code.
int RunPvdict(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

struct ShowOptions {
    std::string file;
    bool json = false;
};

struct MakeOptions {
    std::string out;
    std::string wordsFile;  // empty: the words come from `in`
    std::string name;       // empty: the output file's name without its extension
    std::string description;
    std::string category;
    std::string id = "0";
    std::string version = "1.0.0";
    std::string formatLevel = "0";
};

int RunShow(const ShowOptions& options, std::ostream& out, std::ostream& err);
int RunMake(const MakeOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// "A.B.C" in decimal, each part packable as p*10000 + q*100 + r: q and r
// below 100 and the packed value below 2^31.
bool ParseVersion(std::string_view text, std::array<uint32_t, 3>& version);
// Decimal digits only, at most `max`.
bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value);

}  // namespace pvdict
