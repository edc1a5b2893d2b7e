# The two commands a new user runs: `make run` and `make test`. Both install what is missing.
JOBS ?= 2
PRESETS := native win32 win64

.PHONY: all setup build run test fuzz soak proof perf serve clean release-tools $(addprefix build-,$(PRESETS) release)

all: build

setup:
	@bash scripts/setup.sh

# Configure every time, so that a build folder from before takes the preset's current settings, then build;
# explicit rules because make skips pattern rules for phony targets.
define preset_rule
build-$(1): setup
	@cmake --preset $(1) >/dev/null
	@cmake --build --preset $(1) -j $(JOBS)
endef
$(foreach p,$(PRESETS) release,$(eval $(call preset_rule,$(p))))

build: build-native build-win32 build-win64

# run, serve and perf need only the bench, the module and the benchmarks of the release build.
release-tools: setup
	@test -f build/release/build.ninja || cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target corvan-bench perf_benchmarks

run: release-tools
	@build/release/corvan-bench render --panel panels/default/panel.cfg --out out --scenario panels/default/demo.scn

serve: release-tools
	@build/release/corvan-bench serve --panel panels/default/panel.cfg --scenario panels/default/demo.scn

# The fuzz targets are built here rather than inside their test, so that a build never shares the
# two cores with the timed tests (the page's refresh rate, the soak).
test: build
	@JOBS=$(JOBS) bash tests/fuzz/run.sh build
	@scripts/runs_i386.sh || echo "make test: the win32 product's runs under 32-bit Wine are skipped: this machine cannot run 32-bit x86 programs"
	@cd build/native && ctest --output-on-failure -j $(JOBS)

# The module's own frame, the bench's frame and the main window drawn, then instructions per frame.
perf: release-tools
	@build/release/perf_benchmarks
	@bash tests/bench/instructions.sh

# Every gauge under random input for SOAK_SECONDS (an hour by default), sanitized: memory flat.
SOAK_SECONDS ?= 3600
soak: setup
	@test -f build/native/build.ninja || cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS) --target corvan-bench
	@build/native/corvan-bench soak --seconds $(SOAK_SECONDS)

# Each fuzz target, one after another, to 10 million runs or FUZZ_SECONDS (default 3600) each.
fuzz: setup
	@bash tests/fuzz/run.sh long

# The long load runs in one go, for hours: install and kill cycles at their full counts natively,
# under wine64 and on the product under 32-bit Wine (skipped where 32-bit programs cannot run),
# the sound faults, every fuzz target's long run, then the soak.
PROOF_CYCLES ?= 10000
PROOF_WINE_CYCLES ?= 1000
proof: build
	@build/native/corvan-bench cycles --count $(PROOF_CYCLES)
	@build/native/corvan-bench faults
	@tests/wine/run_bench.sh cycles --count $(PROOF_WINE_CYCLES)
	@tests/wine/run_bench.sh --win32 cycles --count $(PROOF_WINE_CYCLES) || [ $$? -eq 77 ]
	@bash tests/fuzz/run.sh long
	@build/native/corvan-bench soak --seconds $(SOAK_SECONDS)

clean:
	rm -rf build out

# The release, dist/Corvan_Instr-VERSION.zip (scripts/dist.py): the stripped product, the default
# panel, the install guide and the catalogue. The module it ships is staged as DIST_GAU, and every
# program in DIST_CHECKS is run on it (add a reader there: make dist DIST_CHECKS="... reader").
.PHONY: dist catalogue
DIST_GAU := dist/stage/Corvan_Instr.gau
DIST_CHECKS ?= tests/check_win32_product.sh tests/host_read/read_gau.py
dist: build-win32
	@python3 scripts/dist.py --out dist
	@for check in $(DIST_CHECKS); do $$check $(DIST_GAU) || exit 1; done

# The gauge catalogue, docs/gauges.md with a picture per gauge in docs/gauges/, written by the
# bench from the module (the native build, the one whose test compares the committed page).
catalogue: setup
	@test -f build/native/build.ninja || cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS) --target corvan-bench
	@scripts/catalogue.sh build/native/corvan-bench docs
