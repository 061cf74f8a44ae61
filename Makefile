# Task runner. `make demo` builds dist/ and runs the example application through the launcher;
# `make test` builds everything and runs every test layer. Both install what is missing first.

SHELL := /bin/bash
BUILD := build
PRESETS := native win32 win64
JOBS ?= 2

.PHONY: all deps bench bench-x64 build dist demo test clean

all: build

deps:
	@tools/install-deps

bench-x64: deps
	@tools/setup-bench x64

bench: deps
	@tools/setup-bench all

build: deps
	@for p in $(PRESETS); do \
	    cmake --preset $$p >/dev/null && cmake --build --preset $$p -j $(JOBS) || exit 1; \
	done
	@printf 'subdirs("native")\nsubdirs("win32")\nsubdirs("win64")\n' > $(BUILD)/CTestTestfile.cmake

dist: build
	@rm -rf dist && mkdir -p dist/example
	@cp $(BUILD)/win32/launcher.exe $(BUILD)/win64/launcher64.exe dist/
	@cp $(BUILD)/win32/launcher.exe dist/example/example.exe
	@cp $(BUILD)/win64/launcher64.exe dist/example/example64.exe
	@cp example/example.ini dist/example/example.ini
	@cp example/example.ini dist/example/example64.ini
	@ls -l dist dist/example

demo: bench-x64 dist
	@tools/demo

test: bench build
	@set -o pipefail; ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure --timeout 2400 \
	    | tee $(BUILD)/ctest.log; status=$$?; tools/test-summary $(BUILD)/ctest.log; exit $$status

clean:
	rm -rf $(BUILD) dist
