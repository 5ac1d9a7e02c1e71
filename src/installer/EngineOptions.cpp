#include "installer/EngineOptions.h"

namespace {

struct OptionName {
    const wchar_t* name;
    bool takesValue;
};
constexpr OptionName kOptions[] = {
    {opt::kReg, false},          {opt::kUnreg, false},  {opt::kSilent, false},   {opt::kAccountDir, false},
    {opt::kDataDir, false},      {opt::kDest, true},    {opt::kDeselect, false}, {opt::kSourceDir, true},
    {opt::kRemoveSource, false}, {opt::kDelete, false},
};

// "-sourcedir" is joined with a name by plain concatenation: one backslash is
// added unless the text already ends in "\" or "/".
std::wstring SourceFolder(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

}  // namespace

std::wstring EngineOptionSpec()
{
    std::wstring spec;
    for (const OptionName& option : kOptions) {
        spec += spec.empty() ? L"" : L" ";
        spec += option.name;
        spec += option.takesValue ? L" %s" : L"";
    }
    return spec;
}

EngineOptions EngineOptions::Read(const SimpleOptParser::OptionMap& options)
{
    EngineOptions read;
    read.reg = options.IsSet(opt::kReg);
    read.unreg = options.IsSet(opt::kUnreg);
    read.silent = options.IsSet(opt::kSilent);
    read.remove = options.IsSet(opt::kDelete);
    read.useAccountDir = options.IsSet(opt::kAccountDir) || !options.IsSet(opt::kDataDir);
    read.deselect = options.IsSet(opt::kDeselect);
    read.removeSource = options.IsSet(opt::kRemoveSource);
    if (options.IsSet(opt::kDest))
        read.dest = options.GetValue(opt::kDest);
    read.sourceFolder = SourceFolder(options.GetValue(opt::kSourceDir));
    return read;
}

std::optional<std::wstring> EngineOptions::SingleDest() const { return dest && !dest->empty() ? dest : std::nullopt; }

std::optional<std::wstring> EngineOptions::BatchDest(std::size_t count) const
{
    return count == 1 ? dest : std::nullopt;
}
