#include "CellDictWriter.h"
#include "Pvdict.h"
#include "TextCodec.h"
#include "WordList.h"

#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace pvdict {
namespace {
namespace fs = std::filesystem;

bool ReadAll(std::istream& stream, std::string& text)
{
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    text = std::move(buffer).str();
    return !stream.bad();
}

bool ReadWordListText(const MakeOptions& options, std::istream& in, std::string& text, std::string& error)
{
    if (options.wordsFile.empty()) {
        if (!ReadAll(in, text)) {
            error = "cannot read the word list from standard input";
            return false;
        }
        return true;
    }
    const fs::path path = Utf8ToPath(options.wordsFile);
    std::error_code ec;
    std::ifstream stream;
    if (!fs::is_directory(path, ec))
        stream.open(path, std::ios::binary);
    if (!stream.is_open() || !ReadAll(stream, text)) {
        error = "cannot read the word list " + options.wordsFile;
        return false;
    }
    return true;
}

bool DecodeOption(const std::string& value, const char* option, std::wstring& text, std::string& error)
{
    auto decoded = Utf8ToWide(value);
    if (!decoded) {
        error = std::string(option) + " is not valid UTF-8";
        return false;
    }
    text = std::move(*decoded);
    return true;
}

bool MakeContent(const MakeOptions& options, CellDictContent& content, std::string& error)
{
    uint64_t number = 0;
    if (!ParseUnsigned(options.id, UINT32_MAX, number)) {
        error = "--id must be a decimal number from 0 to 4294967295, not \"" + options.id + "\"";
        return false;
    }
    content.dictId = static_cast<uint32_t>(number);
    if (!ParseUnsigned(options.formatLevel, UINT16_MAX, number)) {
        error = "--format-level must be a decimal number from 0 to 65535, not \"" + options.formatLevel + "\"";
        return false;
    }
    content.formatLevel = static_cast<uint16_t>(number);
    if (!ParseVersion(options.version, content.version)) {
        error = "--version must be A.B.C in decimal with B and C below 100 and A*10000+B*100+C below 2^31, not \"" +
                options.version + "\"";
        return false;
    }
    const std::string name = options.name.empty() ? PathToUtf8(Utf8ToPath(options.out).stem()) : options.name;
    return DecodeOption(name, "--name", content.name, error) &&
           DecodeOption(options.description, "--description", content.description, error) &&
           DecodeOption(options.category, "--category", content.category, error);
}

}  // namespace

int RunMake(const MakeOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    CellDictContent content;
    std::string error;
    std::string listText;
    if (!MakeContent(options, content, error) || !ReadWordListText(options, in, listText, error) ||
        !ParseWordList(listText, content.words, error) || !WriteCellDictFile(Utf8ToPath(options.out), content, error)) {
        err << "pvdict: " << error << "; nothing written\n";
        return kExitUsage;
    }
    out << "made " << options.out << ": " << content.words.size() << " words\n";
    return kExitOk;
}

}  // namespace pvdict
