// The words after a command: positional arguments and "--name value" (or
// "--name=value") options, checked against what the command takes.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CommandArguments {
public:
    // UsageError for an unknown option, one given twice that is not among
    // `repeatableNames`, an option without its value, or a count of
    // positional arguments other than `positionalCount`.
    CommandArguments(const std::vector<std::string>& words, const std::set<std::string>& optionNames,
                     std::size_t positionalCount, const std::set<std::string>& repeatableNames = {});

    const std::string& Positional(std::size_t index) const { return positional_.at(index); }
    std::optional<std::string> Option(const std::string& name) const;
    // Every value of a repeatable option, in the order given.
    std::vector<std::string> Options(const std::string& name) const;
    // UsageError when the option was not given.
    std::string Required(const std::string& name) const;

private:
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> options_;
};
