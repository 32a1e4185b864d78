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

BENCHMARKS = label_resolution_bench countdown_bench assembler_bench perl_script_bench engine_bench
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test test-sanitize bench format format-check install clean

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

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES) && echo "formatting: all sources clean"

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-bench
