#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace scorvane::cli {

// The arguments of one command: positional arguments in order and options by name ("-o", "--by").
// An option named in `flags` takes no value; every other option takes the next argument as its value
// and may be given more than once.
struct CliArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> options;

    bool has(const std::string& name) const { return options.count(name) > 0; }
    // The option's last value, or `fallback`.
    std::string value(const std::string& name, const std::string& fallback = {}) const;
    const std::vector<std::string>& values(const std::string& name) const;
};

struct CliCommand {
    std::string name;
    std::string usage;    // "info TABLE.skv"
    std::string summary;  // one line for --help
    std::set<std::string> valueOptions;
    std::set<std::string> flags;
    int (*run)(const CliArgs& args);
    int order = 100;   // place in --help
    bool raw = false;  // every argument is positional (expressions may begin with "-")
};

// Commands register themselves from their own files.
std::vector<CliCommand>& Commands();

struct CliRegistrar {
    explicit CliRegistrar(CliCommand command) { Commands().push_back(std::move(command)); }
};

// Parses the arguments after the command name; on an unknown option or a missing value, prints the
// reason on stderr and returns false.
bool ParseCliArgs(const CliCommand& command, const std::vector<std::string>& argv, CliArgs& out);

}  // namespace scorvane::cli
