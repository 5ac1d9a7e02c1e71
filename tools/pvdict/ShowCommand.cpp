#include "Pvdict.h"
#include "TextCodec.h"

#include "core/StoredName.h"
#include "core/VerdictText.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <ostream>

namespace pvdict {
namespace {
namespace fs = std::filesystem;

constexpr unsigned kSampleCount = 10;

// What `show` found out about one file.
struct Inspection {
    CellDictFile file;
    CellDictVerdict verdict;
    bool headerRead = false;
    std::vector<std::wstring> samples;
    std::wstring storedName;
};

Inspection Inspect(const std::wstring& path, const fs::path& fsPath)
{
    Inspection result;
    std::error_code ec;
    // Some systems open a folder as a file of enormous size; it is no dictionary either way.
    if (fs::is_directory(fsPath, ec)) {
        result.verdict.problem = CellDictVerdict::Problem::CannotOpen;
        return result;
    }
    result.verdict = result.file.LoadAndCheck(path);
    using Problem = CellDictVerdict::Problem;
    const Problem problem = result.verdict.problem;
    result.headerRead = problem != Problem::CannotOpen && problem != Problem::TooShort &&
                        problem != Problem::HeaderUnreadable && problem != Problem::TooLarge;
    if (result.headerRead) {
        // Samples are worth seeing even when the walk fails: they show where the records went wrong.
        result.file.ReadSampleWords(result.samples, kSampleCount);
        result.storedName = MakeStoredName(path, result.file.header);
    }
    return result;
}

std::string Format(const char* format, auto... values)
{
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// The decimal version read back with signed arithmetic, as "p.q.r".
std::string SplitDecimalVersion(uint32_t packed)
{
    const auto value = static_cast<int32_t>(packed);
    return Format("%d.%d.%d", value / 10000, value % 10000 / 100, value % 100);
}

std::string JoinSamples(const std::vector<std::wstring>& samples)
{
    std::string text;
    for (const auto& sample : samples) {
        if (!text.empty())
            text += "  ";
        text += WideToUtf8(sample);
    }
    return text;
}

void PrintText(const std::string& fileName, const Inspection& inspection, std::ostream& out)
{
    const CellDictHeader& h = inspection.file.header;
    auto line = [&out](const char* label, const std::string& value) { out << Format("%-17s", label) << value << '\n'; };
    line("file", fileName);
    line("file size", std::to_string(inspection.file.fileSize) + " bytes");
    if (inspection.headerRead) {
        line("name", WideToUtf8(h.GetName()));
        line("category", WideToUtf8(h.GetCategory()));
        line("description", WideToUtf8(h.GetDescription()));
        line("dictId", std::to_string(h.dictId));
        line("version", Format("%u.%u.%u", h.version[0], h.version[1], h.version[2]));
        line("decimal version", Format("%u (", h.decimalVersion) + SplitDecimalVersion(h.decimalVersion) + ")");
        line("format level", std::to_string(h.formatLevel));
        line("section 1", Format("%u records at offset %u", h.section1Count, h.section1Offset));
        line("section 2", Format("%u records at offset %u", h.section2Count, h.section2Offset));
        line("section 3", Format("%u records at offset %u", h.section3Count, h.section3Offset));
        line("entries", std::to_string(h.GetEntryCount()));
        line("stored name", WideToUtf8(inspection.storedName));
        line("samples", JoinSamples(inspection.samples));
    }
    const std::string reason = DescribeVerdict(inspection.verdict, inspection.file);
    line("verdict", reason.empty() ? "valid" : "invalid: " + reason);
}

void PrintJson(const std::string& fileName, const Inspection& inspection, std::ostream& out)
{
    const CellDictHeader& h = inspection.file.header;
    const bool read = inspection.headerRead;
    nlohmann::ordered_json samples = nlohmann::ordered_json::array();
    for (const auto& sample : inspection.samples)
        samples.push_back(WideToUtf8(sample));
    nlohmann::ordered_json json = {
        {"file", fileName},
        {"valid", inspection.verdict.Ok()},
        {"reason", DescribeVerdict(inspection.verdict, inspection.file)},
        {"fileSize", inspection.file.fileSize},
        {"name", read ? WideToUtf8(h.GetName()) : ""},
        {"category", read ? WideToUtf8(h.GetCategory()) : ""},
        {"description", read ? WideToUtf8(h.GetDescription()) : ""},
        {"dictId", h.dictId},
        {"version", {h.version[0], h.version[1], h.version[2]}},
        {"decimalVersion", h.decimalVersion},
        {"formatLevel", h.formatLevel},
        {"sectionOffsets", {h.section1Offset, h.section2Offset, h.section3Offset}},
        {"sectionCounts", {h.section1Count, h.section2Count, h.section3Count}},
        {"entryCount", h.GetEntryCount()},
        {"storedName", WideToUtf8(inspection.storedName)},
        {"samples", samples},
    };
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace

int RunShow(const ShowOptions& options, std::ostream& out, std::ostream& err)
{
    const auto path = Utf8ToWide(options.file);
    if (!path) {
        err << "pvdict: the file name is not valid UTF-8\n";
        return kExitUsage;
    }
    const Inspection inspection = Inspect(*path, Utf8ToPath(options.file));
    const bool opened = inspection.verdict.problem != CellDictVerdict::Problem::CannotOpen;
    if (options.json)
        PrintJson(options.file, inspection, out);
    else if (opened)
        PrintText(options.file, inspection, out);

    if (!opened) {
        err << "pvdict: cannot open " << options.file << '\n';
        return kExitUsage;
    }
    return inspection.verdict.Ok() ? kExitOk : kExitInvalid;
}

}  // namespace pvdict
