# Task runner. `make demo` builds dist/ and runs the example application through the launcher;
# `make test` builds everything and runs every test layer, the native unit layer first. Both
# install what is missing first.

SHELL := /bin/bash
BUILD := build
PRESETS := native win32 win64 fuzz
FUZZ_SECONDS ?= 120
JOBS ?= 2

.PHONY: all deps wine-bench wine-bench-x64 bench build demo-build dist demo unit test fuzz screenshots clean

# Prerequisites are made one after the other, in the order written: `make test` relies on it.
.NOTPARALLEL:

all: build

deps:
	@tools/install-deps

# The Wine test bench of this machine (made once, kept under LAUNCHER_BENCH).
wine-bench-x64: deps
	@tools/setup-bench x64

wine-bench: deps
	@tools/setup-bench all

build: deps
	@for p in $(PRESETS); do \
	    cmake --preset $$p >/dev/null && cmake --build --preset $$p -j $(JOBS) || exit 1; \
	done
	@printf 'subdirs("native")\nsubdirs("win32")\nsubdirs("win64")\nsubdirs("fuzz")\n' > $(BUILD)/CTestTestfile.cmake

# What dist/ and tools/demo use, and nothing else: both launchers and their console variants,
# the branding command for this machine and for Windows, the 64-bit test runtime that is the
# example's runtime, and the UI driver of each architecture that starts the example.
demo-build: deps
	@cmake --preset win32 >/dev/null && cmake --build --preset win32 -j $(JOBS) --target launcher launcher_console launcher_brand launcher_brand_host uidriver
	@cmake --preset win64 >/dev/null && cmake --build --preset win64 -j $(JOBS) --target launcher launcher_console uidriver testjvm_full

dist: demo-build
	@rm -rf dist && mkdir -p dist/example
	@cp $(BUILD)/win32/launcher.exe $(BUILD)/win64/launcher64.exe dist/
	@cp $(BUILD)/win32/launcherc.exe $(BUILD)/win64/launcher64c.exe dist/
	@cp $(BUILD)/win32/host/launcher-brand $(BUILD)/win32/launcher-brand.exe dist/
	@cp $(BUILD)/win64/launcher64c.exe dist/example/example64c.exe
	@cp example/example.ini dist/example/example64c.ini
	@cp $(BUILD)/win32/launcher.exe dist/example/example.exe
	@cp $(BUILD)/win64/launcher64.exe dist/example/example64.exe
	@cp example/example.ini dist/example/example.ini
	@cp example/example.ini dist/example/example64.ini
	@mkdir -p dist/example/jre/bin/client dist/example/lib
	@cp $(BUILD)/win64/testjvm/full/jvm.dll dist/example/jre/bin/client/jvm.dll
	@: > dist/example/lib/example.jar
	@ls -l dist dist/example

demo: wine-bench dist
	@tools/demo

# The native unit layer on its own: a broken core fails here within minutes, before the Windows
# builds and the bench. `make test` counts its log with the rest.
unit: deps
	@cmake --preset native >/dev/null && cmake --build --preset native -j $(JOBS)
	@set -o pipefail; ctest --test-dir $(BUILD)/native -L '^unit$$' -j $(JOBS) --output-on-failure --timeout 2400 \
	    | tee $(BUILD)/ctest-unit.log || { tools/test-summary $(BUILD)/ctest-unit.log; exit 1; }

# The prerequisites run in this order (the file is .NOTPARALLEL). Once the bench is made, the
# JNI cases run against the runtimes of its tree (label jvm); the last ctest run reads every
# build but the native one, whose tests have run already.
test: unit wine-bench build
	@set -o pipefail; ctest --test-dir $(BUILD)/native -L '^jvm$$' -j $(JOBS) --output-on-failure --timeout 600 \
	    | tee $(BUILD)/ctest-jvm.log || { tools/test-summary $(BUILD)/ctest-unit.log $(BUILD)/ctest-jvm.log; exit 1; }
	@mkdir -p $(BUILD)/after-unit
	@printf 'subdirs("../win32")\nsubdirs("../win64")\nsubdirs("../fuzz")\n' > $(BUILD)/after-unit/CTestTestfile.cmake
	@set -o pipefail; ctest --test-dir $(BUILD)/after-unit -j $(JOBS) --output-on-failure --timeout 2400 \
	    | tee $(BUILD)/ctest.log; status=$$?; tools/test-summary $(BUILD)/ctest-unit.log $(BUILD)/ctest-jvm.log $(BUILD)/ctest.log; exit $$status

# Each fuzz target for FUZZ_SECONDS instead of the few seconds `make test` gives it; the inputs
# it finds are kept in $(BUILD)/fuzz/corpus for the next run.
fuzz: deps
	@cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j $(JOBS)
	@set -o pipefail; FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --test-dir $(BUILD)/fuzz -R '^unit\.fuzz\.' -V \
	    --timeout $$(( $(FUZZ_SECONDS) + 300 )) \
	    | sed -n 's/^[0-9]*: //p' | grep -vE '^(Test command:|Working Directory:|Test timeout )'

# Benchmarks, not part of `make test`: the runtime search optimised on this host, and whole
# launcher starts under Wine.
bench: wine-bench-x64 build
	@cmake --preset bench >/dev/null && cmake --build --preset bench -j $(JOBS)
	@$(BUILD)/bench/runtime_search_bench
	@bench/java_start.py
	@tools/bench-launcher-start

# The pictures of the launcher's windows in docs/images, which README.md shows: taken from the real
# windows under Wine, never drawn by hand. The Wine bench is shared, hence the lock.
screenshots: wine-bench-x64
	@cmake --preset win64 >/dev/null && cmake --build --preset win64 -j $(JOBS)
	@flock /tmp/launcher-wine.lock tools/screenshots $(BUILD)/win64 docs/images

clean:
	rm -rf $(BUILD) dist
