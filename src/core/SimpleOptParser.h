#pragma once
// Command-line options from a specification text such as "-dest %s -silent":
// every token names a flag, and a "%s" after a name makes it take one value.

#include "core/CommandLineSplitter.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SimpleOptParser {
public:
    struct OptionBase {
        OptionBase(unsigned needsValue) : needsValue(needsValue) {}
        virtual ~OptionBase() = default;
        virtual bool SetValue(const std::wstring& value);  // rejects every value

        unsigned needsValue;
        bool isSet = false;
    };

    struct FlagOption : OptionBase {
        FlagOption() : OptionBase(0) {}
    };

    struct TextOption : OptionBase {
        TextOption() : OptionBase(1) {}
        bool SetValue(const std::wstring& newValue) override;

        std::wstring value;
    };

    class OptionMap : public std::map<std::wstring, std::shared_ptr<OptionBase>> {
    public:
        bool IsSet(const std::wstring& name) const;
        std::wstring GetValue(const std::wstring& name) const;  // empty for unknown names
    };

    explicit SimpleOptParser(std::wstring specification);
    virtual ~SimpleOptParser() = default;

    // Splits commandLine with `split` (the core's own splitter unless given another)
    // and sorts the arguments into options and positionals.
    [[nodiscard]] bool Parse(CommandLineSplitter split = SplitCommandLine);
    // Stores text in commandLine, then parses.
    [[nodiscard]] bool Parse(const std::wstring& text, CommandLineSplitter split = SplitCommandLine);

    std::wstring commandLine;
    OptionMap options;
    std::vector<std::wstring> positionals;
};
