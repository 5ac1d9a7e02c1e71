#include "core/SimpleOptParser.h"

#include <sstream>

bool SimpleOptParser::OptionBase::SetValue(const std::wstring&) { return false; }

bool SimpleOptParser::TextOption::SetValue(const std::wstring& newValue)
{
    value = newValue;
    return true;
}

bool SimpleOptParser::OptionMap::IsSet(const std::wstring& name) const
{
    auto it = find(name);
    return it != end() && it->second->isSet;
}

std::wstring SimpleOptParser::OptionMap::GetValue(const std::wstring& name) const
{
    auto it = find(name);
    if (it == end())
        return {};
    // Only text options carry a value; a flag reads as empty.
    auto* text = dynamic_cast<const TextOption*>(it->second.get());
    return text ? text->value : std::wstring();
}

SimpleOptParser::SimpleOptParser(std::wstring specification)
{
    std::wistringstream tokens(std::move(specification));
    std::wstring pending;
    std::wstring token;
    while (tokens >> token) {
        // "%s" turns the name just read into a text option; anywhere else it is a name itself.
        if (token == L"%s" && !pending.empty()) {
            options[pending] = std::make_shared<TextOption>();
            pending.clear();
        } else {
            options[token] = std::make_shared<FlagOption>();
            pending = token;
        }
    }
}

bool SimpleOptParser::Parse(const std::wstring& text, CommandLineSplitter split)
{
    commandLine = text;
    return Parse(split);
}

bool SimpleOptParser::Parse(CommandLineSplitter split)
{
    for (auto& entry : options)
        entry.second->isSet = false;
    positionals.clear();

    if (commandLine.empty())
        return true;

    std::vector<std::wstring> args;
    if (!split(commandLine, args))
        return false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        auto it = options.find(args[i]);
        if (it == options.end()) {
            positionals.push_back(args[i]);
            continue;
        }
        OptionBase& option = *it->second;
        if (option.needsValue != 0) {
            if (++i == args.size())
                return false;
            if (!option.SetValue(args[i]))
                return false;
        }
        option.isSet = true;
    }
    return true;
}
