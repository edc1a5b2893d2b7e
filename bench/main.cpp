// corvan-bench: loads the gauge module as the panel system does and plays the simulator's part.
//
//   corvan-bench run [--module FILE] [--panel FILE] SCENARIO...   run scenario files
//   corvan-bench list [--module FILE]                              the module's gauge table
//   corvan-bench --version                                         the version of this release
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/host.h"
#include "bench/scenario.h"
#include "bench/subcommands.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace bench {
namespace {

#if defined(_WIN32)
std::string quote_argument(const std::string& arg) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        out += c;
        backslashes = 0;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// Each file runs in a fresh process of this program, so every module variable starts at its
// load value.
bool run_isolated(const std::string& file, const RunOptions& options) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string command = quote_argument(exe) + " run --single --module " + quote_argument(options.module_path);
    if (!options.panel_path.empty()) command += " --panel " + quote_argument(options.panel_path);
    command += " " + quote_argument(file);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    std::fflush(stdout);
    if (!CreateProcessA(exe, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("%s:0: cannot start a bench process (error %lu)\n", file.c_str(), GetLastError());
        return false;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (code != 0 && code != 1) std::printf("%s:0: the bench process ended abnormally (code 0x%lX)\n", file.c_str(), code);
    return code == 0;
}
#else
bool run_isolated(const std::string& file, const RunOptions& options) {
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid < 0) {
        std::printf("%s:0: cannot fork a bench process\n", file.c_str());
        return false;
    }
    if (pid == 0) {
        bool ok = run_scenario_file(file, options);
        std::fflush(stdout);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) std::printf("%s:0: the bench process crashed (signal %d)\n", file.c_str(), WTERMSIG(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

int run_command(const std::vector<std::string>& files, const RunOptions& options, bool single) {
    int passed = 0, failed = 0;
    for (const std::string& file : files) {
        bool ok = single ? run_scenario_file(file, options) : run_isolated(file, options);
        (ok ? passed : failed)++;
        if (!single) std::printf("%s %s\n", ok ? "ok  " : "FAIL", file.c_str());
    }
    if (!single) std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

int list_command(const std::string& module_path) {
    Host host;
    std::string error;
    if (!host.load(module_path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int n = 0;
    for (GAUGEHDR* g : host.module().gauges) std::printf("%3d %-32s %4u mm\n", ++n, g->gauge_name, g->size_x_mm);
    return 0;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    CLI::App app{"corvan-bench: the panel system's stand-in for the Corvan_Instr gauge module"};
    app.allow_windows_style_options(false);  // scenario paths may start with a slash
    app.require_subcommand(1);
    app.set_version_flag("--version", "corvan-bench " CORVAN_VERSION);
    std::string module_path = bench::default_module_path();

    bench::RunOptions run_options;
    std::vector<std::string> files;
    bool single = false;
    auto* run = app.add_subcommand("run", "run scenario files, each against a freshly loaded module");
    run->add_option("--module", module_path, "gauge module to load");
    run->add_option("--panel", run_options.panel_path, "panel.cfg for `render window`");
    run->add_flag("--single", single, "run the files in this process, one after another");
    run->add_option("files", files, "scenario files")->required();

    auto* list = app.add_subcommand("list", "list the module's gauges");
    list->add_option("--module", module_path, "gauge module to load");

    bench::add_subcommands(app, module_path);

    CLI11_PARSE(app, argc, argv);
    run_options.module_path = module_path;
    if (*run) return bench::run_command(files, run_options, single);
    if (*list) return bench::list_command(module_path);
    return bench::run_subcommands(app, module_path);
}
