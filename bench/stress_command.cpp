// Bench commands that prove the module under load, over its whole gauge table:
//
//   corvan-bench cycles [--module FILE] [--count N]    every gauge installed, framed, killed and
//       installed again (two placements side by side), then N install and kill cycles of every
//       gauge: no sound object left, clicks still sound, heap and handles do not grow
//   corvan-bench faults [--module FILE]                sound failing at each loading step (device,
//       resource, RIFF, buffer, lock) leaves every gauge working as with sound, in silence
//   corvan-bench soak [--module FILE] [--seconds S] [--frames N] [--seed N]   frames of every
//       gauge under random input (one seed, one input), checked after every frame; heap and
//       handles do not grow
//
// Each prints one summary line per check and exits 0 only when every check held. Any bench
// build runs them (native, win64 or win32 under Wine); sound objects are counted, and sound
// faults made, only where the module plays through the platform substitute.
//
// Sections: shared steps · cycles · faults · soak · registration.
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "bench/scenario.h"
#include "bench/stress.h"
#include "bench/subcommands.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>

#include "platform/corvan_platform.h"
#endif

namespace bench {
namespace {

// ----------------------------------------------------------------------------------------------
// Shared steps

bool fail(const char* what, const std::string& why) {
    std::printf("%s: FAILED: %s\n", what, why.c_str());
    return false;
}

bool load(Host& host, const std::string& module_path) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // every line out before a sanitizer ends the process
    std::string error;
    if (!host.load(module_path, error)) return fail("load", error);
    attach_sound_probe(host);
    return true;
}

// Installs one placement of every gauge of the table, in table order.
bool install_all(Host& host) {
    std::string error;
    for (GAUGEHDR* g : host.module().gauges)
        if (!host.install(g->gauge_name, nullptr, error)) return fail("install", error);
    return true;
}

void kill_all(Host& host) {
    while (!host.placements().empty()) host.kill(host.placements().back().get());
}

// Every placement's background was drawn in the last frame.
bool all_shown(const Host& host, const char* what) {
    for (const auto& p : host.placements())
        if (p->elements.empty() || !p->elements[0].shown)
            return fail(what, std::string(p->gauge->gauge_name) + " draws no background");
    return true;
}

// Clicks the middle of every clickable area of every placement, left and then right where the area
// takes that button, a frame after each placement. Returns the gauges whose clicks asked for a sound.
std::set<std::string> click_everything(Host& host) {
    std::set<std::string> sounded;
    for (const auto& p : host.placements()) {
        for (MOUSERECT* a = p->gauge->mouse_rect; a && a->kind != MOUSE_END; ++a) {
            if (a->kind != MOUSE_CHILD) continue;
            for (uint32_t button : {MOUSE_LEFTSINGLE, MOUSE_RIGHTSINGLE})
                if (a->mouse_flags & button) host.click(p.get(), a->box.x + a->box.w / 2, a->box.y + a->box.h / 2, button, 0);
        }
        host.frame();
        if (p->sound_plays) sounded.insert(p->gauge->gauge_name);
        p->sound_plays = 0;
    }
    return sounded;
}

bool sound_objects_released(const Host& host, const char* what) {
    if (!host.sound_live_devices) return true;
    int devices = host.sound_live_devices(), buffers = host.sound_live_buffers();
    if (devices || buffers)
        return fail(what, std::to_string(devices) + " sound devices and " + std::to_string(buffers) + " buffers left");
    return true;
}

// Growth allowed between a warmed-up process and its end, in heap bytes and handles.
constexpr long long kHeapSlack = 64 << 10;
constexpr long long kHandleSlack = 4;

bool usage_flat(const char* what, const ProcessUsage& before, const ProcessUsage& after) {
    std::printf("%s: heap %lld -> %lld bytes, handles %lld -> %lld\n", what, before.heap_bytes, after.heap_bytes,
                before.handles, after.handles);
    if (before.system_bytes >= 0)  // reported, not judged: the system's DLLs keep their own caches
        std::printf("%s: process heap %lld -> %lld bytes\n", what, before.system_bytes, after.system_bytes);
    if (before.resident_bytes >= 0)  // reported, not judged: it holds the allocator's free lists too
        std::printf("%s: resident %lld -> %lld bytes\n", what, before.resident_bytes, after.resident_bytes);
    if (after.heap_bytes - before.heap_bytes > kHeapSlack) return fail(what, "the heap grew");
    if (after.handles - before.handles > kHandleSlack) return fail(what, "handles grew");
    return true;
}

// ----------------------------------------------------------------------------------------------
// cycles

int cycle_count = 10000;

int cycles_command(const std::string& module_path) {
    Host host;
    if (!load(host, module_path)) return 1;
    const size_t gauges = host.module().gauges.size();

    // Two placements of every gauge side by side; each keeps drawing when the other goes.
    if (!install_all(host) || !install_all(host)) return 1;
    for (int i = 0; i < 3; ++i) host.frame();
    if (!all_shown(host, "lifecycle")) return 1;
    for (GAUGEHDR* g : host.module().gauges) host.kill(host.find(g->gauge_name, 1));
    host.frame();
    if (host.placements().size() != gauges || !all_shown(host, "lifecycle")) return 1;
    kill_all(host);
    if (!sound_objects_released(host, "lifecycle")) return 1;
    if (!install_all(host)) return 1;
    host.frame();
    if (!all_shown(host, "lifecycle")) return 1;
    std::set<std::string> sounded = click_everything(host);
    kill_all(host);
    if (host.sound_play_counter && sounded.empty()) return fail("lifecycle", "no gauge clicked with sound");
    std::printf("lifecycle: %zu gauges installed twice, killed and installed again, %zu click with sound: ok\n", gauges,
                sounded.size());

    ProcessUsage warm;
    for (int cycle = 0; cycle < cycle_count; ++cycle) {
        if (cycle == cycle_count / 10) warm = process_usage();
        if (!install_all(host)) return 1;
        host.frame();
        kill_all(host);
        host.sim.events.clear();
    }
    ProcessUsage end = process_usage();
    if (!sound_objects_released(host, "cycles") || !usage_flat("cycles", warm, end)) return 1;

    if (!install_all(host)) return 1;
    host.frame();
    std::set<std::string> after = click_everything(host);
    kill_all(host);
    if (after != sounded) return fail("cycles", "the gauges that click changed after the cycles");
    std::printf("cycles: %d install and kill cycles of %zu gauges: ok\n", cycle_count, gauges);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// faults

#if !defined(_WIN32)
struct SoundFault {
    const char* step;
    void (*set)(int fail);
};
const SoundFault kSoundFaults[] = {
    {"none", nullptr},
    {"device", corvan_dsound_fail_device_creation},
    {"resource", corvan_platform_fail_wave_resources},
    {"riff", corvan_platform_fail_riff_chunks},
    {"buffer", corvan_dsound_fail_buffer_creation},
    {"lock", corvan_dsound_fail_buffer_lock},
};

// What the pilot and the simulator see: every element after each frame, then the key events.
void observe(const Host& host, std::string& out) {
    char value[96];
    for (const auto& p : host.placements())
        for (const ElementSlot& s : p->elements) {
            std::snprintf(value, sizeof value, "%d %.17g %.17g %.17g ", s.shown, s.value[0], s.value[1], s.value[2]);
            out += value + s.text + "\n";
        }
}

// In a fresh process: half the gauges installed with sound working, then the fault switched on
// and the rest installed; the fault off again, frames, clicks on every area, kill and install
// again. Writes what was seen to `out_fd`; exits 1 when sound objects are left, a sound played
// after the fault, or any gauge after the failing one tried to make a device or buffer.
[[noreturn]] void run_with_fault(const std::string& module_path, const SoundFault& fault, int out_fd) {
    Host host;
    if (!load(host, module_path)) _exit(2);
    std::string error, seen;
    const auto& gauges = host.module().gauges;
    uint64_t devices_before = 0, buffers_before = 0;
    for (size_t i = 0; i < gauges.size(); ++i) {
        if (i == gauges.size() / 2 && fault.set) {
            fault.set(1);
            devices_before = corvan_dsound_device_attempts();
            buffers_before = corvan_dsound_buffer_attempts();
        }
        host.install(gauges[i]->gauge_name, nullptr, error);
    }
    if (fault.set) fault.set(0);  // sound could be had again; the module stays silent until reloaded
    uint64_t plays_before = corvan_dsound_plays_started();
    for (int i = 0; i < 3; ++i, observe(host, seen)) host.frame();
    click_everything(host);
    observe(host, seen);
    kill_all(host);
    install_all(host);
    host.frame();
    observe(host, seen);
    kill_all(host);
    for (const LoggedEvent& e : host.sim.events) seen += std::to_string(e.id) + " " + std::to_string(e.param) + "\n";
    uint64_t plays = corvan_dsound_plays_started() - plays_before;
    bool ok = sound_objects_released(host, fault.step) &&
              (!fault.set || (corvan_dsound_device_attempts() - devices_before <= 1 &&
                              corvan_dsound_buffer_attempts() - buffers_before <= 1) ||
               fail(fault.step, "gauges went on making sound objects after the failure")) &&
              ((plays == 0) == (fault.set != nullptr) || fail(fault.step, std::to_string(plays) + " sounds played"));
    for (size_t done = 0; done < seen.size();) {
        ssize_t n = write(out_fd, seen.data() + done, seen.size() - done);
        if (n <= 0) _exit(2);
        done += size_t(n);
    }
    std::fflush(stdout);
    _exit(ok ? 0 : 1);
}

// Runs one fault in a child process; false when the child failed. `seen` gets its observation.
bool observe_fault(const std::string& module_path, const SoundFault& fault, std::string& seen) {
    int fds[2];
    if (pipe(fds) != 0) return fail(fault.step, "no pipe");
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid < 0) return fail(fault.step, "no fork");
    if (pid == 0) {
        close(fds[0]);
        run_with_fault(module_path, fault, fds[1]);
    }
    close(fds[1]);
    char chunk[65536];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) seen.append(chunk, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int faults_command(const std::string& module_path) {
    std::string with_sound;
    if (!observe_fault(module_path, kSoundFaults[0], with_sound)) return fail("faults", "the run with sound failed"), 1;
    bool ok = true;
    for (const SoundFault& fault : kSoundFaults) {
        if (!fault.set) continue;
        std::string silent;
        bool held = observe_fault(module_path, fault, silent) &&
                    (silent == with_sound || fail(fault.step, "the gauges did not work as they do with sound"));
        std::printf("faults: sound failing at the %s step: %s\n", fault.step, held ? "ok" : "FAILED");
        ok = ok && held;
    }
    return ok ? 0 : 1;
}
#else
int faults_command(const std::string&) {
    std::printf("faults: skipped (the real DirectSound plays here; its failures cannot be switched on)\n");
    return 0;
}
#endif

// ----------------------------------------------------------------------------------------------
// soak

double soak_seconds = 60;
uint64_t soak_frames = 0;  // 0: as many as the seconds allow
uint64_t soak_seed = 1;
constexpr uint64_t kSoakWarmFrames = 1000;  // usage is first read after these

int soak_command(const std::string& module_path) {
    Host host;
    if (!load(host, module_path)) return 1;
    const std::vector<uint32_t> vars = record_variables(host.module());
    Choices in;
    in.state ^= soak_seed * 0x2545F4914F6CDD1Du;
    const size_t max_placements = host.module().gauges.size() + 32;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };

    // Usage is read with the same placements live each time: one of every gauge.
    auto settle = [&] {
        kill_all(host);
        install_all(host);
        host.frame();
        host.sim.events.clear();
        host.sim.toggles.clear();
        return process_usage();
    };
    clear_inputs(host, vars, true);  // every variable the input may touch exists from the start
    ProcessUsage warm = settle(), end;
    bool warmed = false;
    uint64_t frames = 0, judged_frames = 0;
    std::string fault;
    while (elapsed() < soak_seconds && (soak_frames == 0 || frames < soak_frames)) {
        for (int n = in.byte() % 4; n > 0; --n) random_action(host, in, vars, max_placements);
        if (in.byte() < 16) clear_inputs(host, vars, false);
        bool before = inputs_in_range(host, vars);  // events sent in the frame may change them
        host.frame();
        ++frames;
        bool judged = before && inputs_in_range(host, vars);
        judged_frames += judged;
        if (!check_frame(host, judged, fault))
            return fail("soak", fault + " (seed " + std::to_string(soak_seed) + ", frame " + std::to_string(frames) + ")"), 1;
        host.sim.events.clear();  // the bench's own log, not the module's memory
        host.sim.toggles.clear();
        if (!warmed && frames == kSoakWarmFrames) {
            warm = settle();
            warmed = true;
        }
    }
    end = settle();
    kill_all(host);
    std::printf("soak: %llu frames in %.0f s (seed %llu), every frame checked, %llu with inputs in range\n",
                (unsigned long long)frames, elapsed(), (unsigned long long)soak_seed, (unsigned long long)judged_frames);
    return usage_flat("soak", warm, end) && sound_objects_released(host, "soak") ? 0 : 1;
}

// ----------------------------------------------------------------------------------------------
// Registration

CLI::App* add_module_option(CLI::App* sub, std::string& module_path) {
    sub->add_option("--module", module_path, "gauge module to load");
    return sub;
}

SubcommandRegistrar cycles_registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            CLI::App* sub = app.add_subcommand("cycles", "install, kill and reinstall every gauge; then many cycles");
            sub->add_option("--count", cycle_count, "install and kill cycles (default 10000)");
            return add_module_option(sub, module_path);
        },
    .run = cycles_command,
});

SubcommandRegistrar faults_registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            return add_module_option(app.add_subcommand("faults", "every gauge with sound failing at each loading step"),
                                     module_path);
        },
    .run = faults_command,
});

SubcommandRegistrar soak_registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            CLI::App* sub = app.add_subcommand("soak", "frames of every gauge under random input");
            sub->add_option("--seconds", soak_seconds, "how long (default 60)");
            sub->add_option("--seed", soak_seed, "random input seed (default 1)");
            sub->add_option("--frames", soak_frames, "stop after this many frames (the same input each time)");
            return add_module_option(sub, module_path);
        },
    .run = soak_command,
});

}  // namespace
}  // namespace bench
