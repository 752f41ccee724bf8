# Set-up and every gate of the project. `make demo` and `make test` are all a
# fresh Debian 12 machine needs.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_COMMON := -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

.PHONY: all deps build demo test test-unit test-asan test-tsan bench clean

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/release/build.ninja: | deps
	cmake -S . -B $(BUILD)/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/release/build.ninja
	cmake --build $(BUILD)/release -j $(JOBS)

demo: build
	$(BUILD)/release/examples/qx_demo $(BUILD)/release/qx_demo_trace.log

test-unit: build
	ctest --test-dir $(BUILD)/release --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(BUILD)/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DQX_BUILD_EXAMPLES=OFF -DQX_SANITIZE=address,undefined
	cmake --build $(BUILD)/asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(BUILD)/asan --output-on-failure -j $(JOBS)

test-tsan: deps
	cmake -S . -B $(BUILD)/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DQX_BUILD_EXAMPLES=OFF -DQX_SANITIZE=thread
	cmake --build $(BUILD)/tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	    ctest --test-dir $(BUILD)/tsan --output-on-failure -j $(JOBS) -L concurrency

test: test-unit test-asan test-tsan

clean:
	rm -rf $(BUILD)
