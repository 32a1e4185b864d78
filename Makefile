# Quick start: `make run` builds the toolchain and runs an example program;
# `make test` builds and runs every test. Both install missing prerequisites
# first (scripts/install-deps.sh).

BUILD        ?= build
SANITIZE_BUILD ?= build-asan
PREFIX       ?= $(HOME)/.local
PROGRAM      ?= examples/countdown.tarnel
JOBS         ?= $(shell nproc)
# CI treats every compiler warning as an error.
WERROR       ?= $(if $(filter true,$(CI)),ON,OFF)

BENCHMARKS = label_resolution_bench countdown_bench assembler_bench perl_script_bench engine_bench checker_bench
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

MAKEFLAGS += --no-print-directory

# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-sanitize bench fuzz format format-check install package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DTARNEL_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Runs from inside the build folder, so that debug.html lands there.
run: build
	cd $(BUILD) && ./bin/$(if $(filter %.kiv,$(PROGRAM)),kivinterp,tarnel) $(abspath $(PROGRAM))

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DTARNEL_SANITIZE=ON -DTARNEL_WERROR=$(WERROR) \
	  -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

# Builds in release mode and prints each benchmark's figures; engine_bench
# compares kivinterp with perl and Lua 5.4 (installed here if missing).
bench:
	@scripts/install-deps.sh bench
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTARNEL_EDITOR=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target $(BENCHMARKS)
	@for b in $(BENCHMARKS); do echo "== $$b"; build-bench/bench/$$b; done

# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in
# build-fuzz/ and runs each for FUZZ_SECONDS.
fuzz:
	@scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTARNEL_FUZZ=ON -DTARNEL_EDITOR=OFF \
	  -DTARNEL_WERROR=$(WERROR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	@tests/fuzz/run.sh build-fuzz/fuzz $(FUZZ_SECONDS)

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES) && echo "formatting: all sources clean"

# The programs, manual pages, documentation, examples, desktop entry, icons
# and file type under PREFIX; the file type database there is refreshed
# when the tool for it is present.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if command -v update-mime-database >/dev/null 2>&1 && [ -w $(PREFIX)/share/mime ]; then \
	  update-mime-database $(PREFIX)/share/mime >/dev/null; fi

# A Debian package, build-package/tarnel_VERSION_ARCH.deb: the release preset
# built with Debian's hardening flags, then CPack.
package: deps
	@DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	cmake --preset release \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@cpack --preset release

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-bench build-fuzz build-package
