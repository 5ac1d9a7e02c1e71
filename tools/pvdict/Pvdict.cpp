#include "Pvdict.h"

#include "lexinst_version.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <ostream>

namespace pvdict {

bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    uint64_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (result > (max - digit) / 10)
            return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

bool ParseVersion(std::string_view text, std::array<uint32_t, 3>& version)
{
    std::array<uint64_t, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto dot = text.find('.');
        const bool last = i + 1 == parts.size();
        if (last != (dot == std::string_view::npos))
            return false;
        if (!ParseUnsigned(text.substr(0, dot), UINT32_MAX, parts[i]))
            return false;
        text.remove_prefix(last ? text.size() : dot + 1);
    }
    if (parts[1] > 99 || parts[2] > 99 || parts[0] * 10000 + parts[1] * 100 + parts[2] > INT32_MAX)
        return false;
    for (std::size_t i = 0; i < parts.size(); ++i)
        version[i] = static_cast<uint32_t>(parts[i]);
    return true;
}

int RunPvdict(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Inspect, validate and make .pvdict dictionary files.", "pvdict"};
    app.set_version_flag("--version", "pvdict " LEXINST_VERSION_TEXT);
    app.require_subcommand(1);

    ShowOptions show;
    CLI::App* showCommand =
        app.add_subcommand("show", "Print a dictionary's header, sample words and validation verdict");
    showCommand->add_flag("--json", show.json, "Print one JSON object instead of text");
    showCommand->add_option("FILE", show.file, "The .pvdict file")->required();

    MakeOptions make;
    CLI::App* makeCommand = app.add_subcommand("make", "Make a valid .pvdict file from a UTF-8 word list");
    makeCommand->add_option("OUT", make.out, "The file to make (replaced only when complete)")->required();
    makeCommand->add_option("--words", make.wordsFile, "Word list, one word per line (default: standard input)");
    makeCommand->add_option("--name", make.name, "Display name, at most 32 UTF-16 units (default: OUT's name)");
    makeCommand->add_option("--description", make.description, "Description, at most 256 UTF-16 units");
    makeCommand->add_option("--category", make.category, "Category text, at most 32 UTF-16 units");
    makeCommand->add_option("--id", make.id, "Dictionary identifier, 0 to 4294967295")->capture_default_str();
    makeCommand->add_option("--version", make.version, "Version A.B.C (B and C below 100)")->capture_default_str();
    makeCommand->add_option("--format-level", make.formatLevel, "Format level, 0 to 65535")->capture_default_str();

    try {
        // CLI11 consumes a vector from its back.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    try {
        if (showCommand->parsed())
            return RunShow(show, out, err);
        return RunMake(make, in, out, err);
    } catch (const std::exception& e) {
        err << "pvdict: " << e.what() << '\n';
        return kExitUsage;
    }
}

}  // namespace pvdict
