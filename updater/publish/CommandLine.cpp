#include "CommandLine.h"

#include "PublishError.h"

CommandArguments::CommandArguments(const std::vector<std::string>& words, const std::set<std::string>& optionNames,
                                   std::size_t positionalCount, const std::set<std::string>& repeatableNames) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            positional_.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (optionNames.count(name) == 0) throw UsageError("unknown option --" + name);
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            throw UsageError("--" + name + " needs a value");
        }
        if (options_.count(name) != 0 && repeatableNames.count(name) == 0) {
            throw UsageError("--" + name + " given twice");
        }
        options_.emplace(name, value);
    }
    if (positional_.size() != positionalCount) {
        throw UsageError("expected " + std::to_string(positionalCount) + " argument(s) besides the options, got " +
                         std::to_string(positional_.size()));
    }
}

std::optional<std::string> CommandArguments::Option(const std::string& name) const {
    const auto found = options_.find(name);
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

std::string CommandArguments::Required(const std::string& name) const {
    std::optional<std::string> value = Option(name);
    if (!value) throw UsageError("--" + name + " is required");
    return *value;
}

std::vector<std::string> CommandArguments::Options(const std::string& name) const {
    std::vector<std::string> values;
    const auto [first, last] = options_.equal_range(name);
    for (auto it = first; it != last; ++it) values.push_back(it->second);
    return values;
}
