# Set-up and every gate of the project. `make demo` and `make test` are all a
# fresh Debian 12 machine needs.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_COMMON := -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

.PHONY: all deps build demo test test-unit test-asan test-tsan test-valgrind test-tidy \
        test-format test-install test-abi abi-baseline package autopkgtest docs test-fresh \
        bench mutation coverage clean

all: build

# What debian/control's Build-Depends lists, installed if anything is missing.
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

# The libFuzzer target, clang-built in its own folder, run for a bounded time.
FUZZ_SECONDS ?= 60
.PHONY: fuzz test-fuzz
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_COMMON) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_BUILD_FUZZ=ON -DQX_BUILD_TESTS=OFF \
	    -DQX_BUILD_EXAMPLES=OFF
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target managed_ne_fuzz
	mkdir -p $(BUILD)/fuzz/corpus/managed_ne_fuzz
	$(BUILD)/fuzz/fuzz/managed_ne_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 $(BUILD)/fuzz/corpus/managed_ne_fuzz

test-fuzz: fuzz

# The demo under memcheck: no invalid access, no uninitialised read, no leak.
test-valgrind: build
	valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	    --track-origins=yes --quiet \
	    $(BUILD)/release/examples/qx_demo $(BUILD)/release/qx_demo_valgrind.log > /dev/null

# Every C++ file of the repository under the repository's clang-tidy checks.
TIDY_FILES = $(shell git ls-files '*.cpp' | grep -v -E '^(fuzz|bench)/')
test-tidy: build
	run-clang-tidy -quiet -p $(BUILD)/release -j $(JOBS) $(addprefix $(CURDIR)/,$(TIDY_FILES)) \
	    > $(BUILD)/clang-tidy.log 2>&1 || { grep -E 'warning:|error:' -A3 $(BUILD)/clang-tidy.log; exit 1; }
	@echo "clang-tidy: clean"

test-format: deps
	clang-format --dry-run --Werror $(shell git ls-files '*.cpp' '*.h')
	@echo "clang-format: clean"

# The installed package, used from a tiny out-of-tree consumer through
# find_package and through pkg-config.
test-install: deps
	JOBS=$(JOBS) ./scripts/check-install.sh $(BUILD)/install

# The source and Debian packages into $(BUILD)/package, checked (lintian
# included); the unit tests run in the package build.
package: deps
	JOBS=$(JOBS) ./scripts/make-packages.sh $(BUILD)/package

# The packages' autopkgtest (debian/tests), in a Debian 12 root thrown away
# afterwards.
autopkgtest: package
	./scripts/autopkgtest.sh $(BUILD)/package

# The library's binary interface against abi/libqx_sysevent.abi (abidiff);
# abi-baseline takes a new baseline, only for a deliberate change.
test-abi: deps
	JOBS=$(JOBS) ./scripts/check-abi.sh $(BUILD)/abi

abi-baseline: deps
	JOBS=$(JOBS) ./scripts/check-abi.sh $(BUILD)/abi --update

# The public headers' reference into $(BUILD)/docs/html. Doxygen's warnings
# fail it, so every public name must be documented.
docs: deps
	cmake -S . -B $(BUILD)/docs $(CMAKE_COMMON) -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF \
	    -DQX_DOCS_REQUIRED=ON
	cmake --build $(BUILD)/docs --target docs
	@echo "docs: $$(grep -Eho 'memberdef kind="[a-z]+" id="[^"]+" prot="public"|compounddef \
	    id="[^"]+" kind="(class|namespace|file)"' $(BUILD)/docs/xml/*.xml | sort -u | wc -l)" \
	    "public declarations documented in $(BUILD)/docs/html"

test: test-unit test-format test-asan test-tsan test-fuzz test-valgrind test-tidy test-install \
      test-abi package autopkgtest docs

# `make test` then `make demo` in a clean clone of HEAD inside a fresh Debian 12
# root with only make, git and ca-certificates added. Needs root.
test-fresh: deps
	./scripts/test-fresh.sh

# The library against hand-written baselines in one Release binary: medians
# of interleaved repetitions into $(BUILD)/bench/bench_results.json, then the
# ratios against their goals.
BENCH_FLAGS ?= --benchmark_repetitions=7 --benchmark_min_time=0.3 \
    --benchmark_enable_random_interleaving=true --benchmark_display_aggregates_only=true
bench: deps
	cmake -S . -B $(BUILD)/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release \
	    -DQX_BUILD_BENCH=ON -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF
	cmake --build $(BUILD)/bench -j $(JOBS) --target qx_bench qx_ne_query_profile
	$(BUILD)/bench/bench/qx_bench $(BENCH_FLAGS) \
	    --benchmark_out=$(BUILD)/bench/bench_results.json --benchmark_out_format=json
	python3 bench/ratio_report.py $(BUILD)/bench/bench_results.json

# Mutation testing of the library's sources against the suite (Release, UBSan), in its
# own snapshot under build/mutation; a fixed sample keeps it under 30 minutes.
MUTATION_FLAGS ?= --sample 200 --seed 0
mutation: deps
	python3 scripts/mutation.py --jobs $(JOBS) $(MUTATION_FLAGS)

# Line and branch coverage of the library and the stand-in by the tests, in a
# Debug build of its own: a table per file here, annotated sources in
# $(BUILD)/coverage/html/index.html. A measurement, not a gate.
COVERAGE_FILTERS := $(addprefix --filter ,common/ include/ security/ sysevent/ mdpreg/ \
    platform/standin/)
COVERAGE_GCOVR := gcovr --root . $(COVERAGE_FILTERS) --exclude-throw-branches \
    --exclude-unreachable-branches
coverage: deps
	cmake -S . -B $(BUILD)/coverage $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DQX_BUILD_EXAMPLES=OFF -DQX_COVERAGE=ON
	cmake --build $(BUILD)/coverage -j $(JOBS)
	find $(BUILD)/coverage -name '*.gcda' -delete
	ctest --test-dir $(BUILD)/coverage --output-on-failure -j $(JOBS)
	mkdir -p $(BUILD)/coverage/html
	$(COVERAGE_GCOVR) $(BUILD)/coverage --json $(BUILD)/coverage/coverage.json \
	    --html-details $(BUILD)/coverage/html/index.html --txt
	$(COVERAGE_GCOVR) --add-tracefile $(BUILD)/coverage/coverage.json --txt --branches \
	    --print-summary

clean:
	rm -rf $(BUILD)
