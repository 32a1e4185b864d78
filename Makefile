# Quick start: `make run` builds the toolchain and runs an example program;
# `make test` builds and runs every test. Both install missing prerequisites
# first (scripts/install-deps.sh).

BUILD        ?= build
SANITIZE_BUILD ?= build-asan
PREFIX       ?= $(HOME)/.local
# The Debian packages land in PACKAGE_DIR, with MAINTAINER ("Name <address>")
# as their maintainer when it is set. The test suite is make test's; with
# PACKAGE_OPTIONS="parallel=2" the package build runs it too.
PACKAGE_DIR  ?= build-deb
MAINTAINER   ?=
PACKAGE_OPTIONS ?= nocheck parallel=$(JOBS)
PROGRAM      ?= examples/countdown.tarnel
JOBS         ?= $(shell nproc)
# CI treats every compiler warning as an error.
WERROR       ?= $(if $(filter true,$(CI)),ON,OFF)

BENCHMARKS = label_resolution_bench countdown_bench assembler_bench perl_script_bench engine_bench \
  checker_bench step_back_bench editor_bench editor_debug_bench
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

MAKEFLAGS += --no-print-directory

# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-sanitize bench fuzz format format-check install \
  uninstall package package-check clean
.PHONY: web serve web-test web-bench screenshots

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
# compares kivinterp with perl and Lua 5.4 (installed here if missing),
# editor_bench the editor on a 5 MB source with a plain text area.
bench:
	@scripts/install-deps.sh bench
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTARNEL_EDITOR=ON >/dev/null
	@cmake --build build-bench -j $(JOBS) --target $(BENCHMARKS)
	@for b in $(BENCHMARKS); do echo "== $$b"; build-bench/bench/$$b; done

# The README's picture of debugging in the editor, made by the window itself
# on the offscreen platform: examples/sum.tarnel stopped after a breakpoint.
screenshots: configure
	@cmake --build $(BUILD) -j $(JOBS) --target editor_screenshot
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/editor_screenshot examples/sum.tarnel 23 "4 5" \
	  editor/debugging.png

# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in
# build-fuzz/ and runs each for FUZZ_SECONDS.
fuzz:
	@scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTARNEL_FUZZ=ON -DTARNEL_EDITOR=OFF \
	  -DTARNEL_WERROR=$(WERROR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	@tests/fuzz/run.sh build-fuzz/fuzz $(FUZZ_SECONDS)

# The browser playground: the toolchain compiled with Debian's emscripten
# (whose tools need Debian's node modules) and the page bundled by esbuild,
# into $(WEB_BUILD)/site/, a folder any static web server can serve.
WEB_BUILD ?= build-web
PORT ?= 8080
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs

web:
	@scripts/install-deps.sh web
	@$(EMSCRIPTEN_ENV) emcmake cmake -S web/wasm -B $(WEB_BUILD)/wasm -DCMAKE_BUILD_TYPE=Release \
	  -DTARNEL_WERROR=$(WERROR) >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD)/wasm -j $(JOBS) --target tarnel_web
	@node web/build.mjs $(WEB_BUILD)/wasm/web $(WEB_BUILD)/site

# Serves the site on this machine only: http://127.0.0.1:$(PORT)/
serve: web
	@node web/serve.mjs $(WEB_BUILD)/site $(PORT)

# The page's tests: the module against the native programs of $(BUILD), the
# page's text handling, and the page in Chromium (its screenshots land in
# $(WEB_BUILD)/artifacts/).
web-test: build web
	cd web && TARNEL_NATIVE_BIN=$(abspath $(BUILD))/bin TARNEL_WASM_DIR=$(abspath $(WEB_BUILD))/wasm/web \
	  TARNEL_SITE_DIR=$(abspath $(WEB_BUILD))/site TARNEL_ARTIFACTS=$(abspath $(WEB_BUILD))/artifacts \
	  node --test test/*.test.mjs

# The engine in the page's build against native kivinterp, side by side;
# then the page in Chromium: ready time, Pause, bytes transferred.
web-bench: web
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTARNEL_EDITOR=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target kivinterp
	@echo "== engine_bench (web)"
	@TARNEL_NATIVE_BIN=$(abspath build-bench)/bin TARNEL_WASM_DIR=$(abspath $(WEB_BUILD))/wasm/web \
	  node web/bench/engine_bench.mjs
	@echo "== page_bench (web)"
	@TARNEL_SITE_DIR=$(abspath $(WEB_BUILD))/site node web/bench/page_bench.mjs

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES) && echo "formatting: all sources clean"

# The programs alone (no tests), built in release mode in build-release/
# and installed stripped under PREFIX with their manual pages, the
# documentation and examples, bash completion, and the editor's desktop
# entry, icons and file type. What was installed is recorded in
# PREFIX/share/tarnel/installed, and make uninstall removes exactly that.
install: deps
	@cmake --preset release -DTARNEL_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@packaging/release_install.sh install build-release $(PREFIX)

uninstall:
	@packaging/release_install.sh uninstall $(PREFIX)

# The Debian packages tarnel (the console programs) and tarnel-ide (the
# editor), built by dpkg-buildpackage from debian/ in PACKAGE_DIR.
package: deps
	@scripts/install-deps.sh package
	@DEB_BUILD_OPTIONS="$(PACKAGE_OPTIONS)" DEB_BUILD_PROFILES="$(filter nocheck,$(PACKAGE_OPTIONS))" \
	  TARNEL_MAINTAINER="$(MAINTAINER)" packaging/build_packages.sh $(PACKAGE_DIR)

# The packages linted, installed into a throw-away root, run and purged.
package-check: package
	@packaging/check_packages.sh $(PACKAGE_DIR)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-bench build-fuzz build-release $(PACKAGE_DIR) $(WEB_BUILD)
