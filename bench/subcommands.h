// Further bench commands (render, serve) that only some builds carry; each registers itself.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Subcommand {
    std::function<CLI::App*(CLI::App& app, std::string& module_path)> add;  // adds its options
    std::function<int(const std::string& module_path)> run;                 // runs it when chosen
    CLI::App* parsed = nullptr;
};
std::vector<Subcommand>& subcommands();
struct SubcommandRegistrar {
    explicit SubcommandRegistrar(Subcommand s) { subcommands().push_back(std::move(s)); }
};

void add_subcommands(CLI::App& app, std::string& module_path);
int run_subcommands(CLI::App& app, const std::string& module_path);

}  // namespace bench
