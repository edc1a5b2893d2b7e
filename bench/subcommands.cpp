#include "bench/subcommands.h"

namespace bench {

std::vector<Subcommand>& subcommands() {
    static std::vector<Subcommand> all;
    return all;
}

void add_subcommands(CLI::App& app, std::string& module_path) {
    for (Subcommand& s : subcommands()) s.parsed = s.add(app, module_path);
}

int run_subcommands(CLI::App&, const std::string& module_path) {
    for (Subcommand& s : subcommands())
        if (s.parsed && *s.parsed) return s.run(module_path);
    return 1;
}

}  // namespace bench
