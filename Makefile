# The two commands a user types, `make demo` and `make test`, and the
# maintainers' gates behind `make check`. Each first installs the packages its
# layer of debian/control needs (scripts/install-deps.sh), only those that are
# missing; `make remove-deps` takes back what they installed.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_COMMON := -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
LOGS := $(BUILD)/logs

.PHONY: all demo test check deps-demo deps-test deps-check remove-deps build test-unit \
        test-asan test-tsan build-old-abi test-old-abi check-format check-tidy fuzz \
        check-valgrind check-install check-swap check-abi check-tao abi-baseline package \
        autopkgtest check-cross docs test-fresh bench mutation coverage clean

all: build

deps-demo deps-test deps-check: deps-%:
	@mkdir -p $(LOGS)
	@./scripts/install-deps.sh $* $(LOGS)/deps.log

# Purges exactly the packages that the targets above installed.
remove-deps:
	@if [ -s .installed-packages ]; then \
	    $$([ "$$(id -u)" -eq 0 ] || echo sudo) apt-get purge $$(cat .installed-packages) && \
	    rm .installed-packages; \
	else echo "make: no packages were installed by this checkout"; fi

# The release build; TESTS=OFF leaves GoogleTest out (make demo).
TESTS ?= ON
build:
	@cmake -S . -B $(BUILD)/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQX_BUILD_TESTS=$(TESTS) > /dev/null
	cmake --build $(BUILD)/release -j $(JOBS)

# The example server process on the stand-in platform; the packages' and the
# build's output go to $(LOGS).
demo: deps-demo
	@echo "make: building (log: $(LOGS)/demo-build.log)"
	@$(MAKE) --no-print-directory build TESTS=OFF > $(LOGS)/demo-build.log 2>&1 || \
	    { tail -n 30 $(LOGS)/demo-build.log; exit 1; }
	@echo "make: running the example server process"
	@echo
	@$(BUILD)/release/examples/qx_demo $(BUILD)/release/qx_demo_trace.log

# ---------------------------------------------------------------- make test
# Every test of the release build, then the tests under AddressSanitizer with
# UBSan and the concurrency tests under ThreadSanitizer, each build its own.
test: test-unit test-asan test-tsan
	@echo "make test: passed"

test-unit: deps-test
	@$(MAKE) --no-print-directory build TESTS=ON
	ctest --test-dir $(BUILD)/release --output-on-failure -j $(JOBS)

test-asan: deps-test
	cmake -S . -B $(BUILD)/asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DQX_BUILD_EXAMPLES=OFF -DQX_SANITIZE=address,undefined > /dev/null
	cmake --build $(BUILD)/asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(BUILD)/asan --output-on-failure -j $(JOBS)

test-tsan: deps-test
	cmake -S . -B $(BUILD)/tsan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
	    -DQX_BUILD_EXAMPLES=OFF -DQX_SANITIZE=thread > /dev/null
	cmake --build $(BUILD)/tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	    ctest --test-dir $(BUILD)/tsan --output-on-failure -j $(JOBS) -L concurrency

# ---------------------------------------------------------------- make check
# make test, then every gate. Only these targets touch the machine beyond
# packages: autopkgtest's and check-cross's root tarballs go to
# /var/cache/qx-sysevent and, run as root, autopkgtest gives root subordinate
# ids in /etc/subuid and /etc/subgid.
check: deps-check
	@$(MAKE) --no-print-directory test test-old-abi check-format check-tidy fuzz check-valgrind \
	    check-install check-swap check-abi check-tao autopkgtest check-cross docs
	@echo "make check: passed"

# The old string ABI's flavour (-DQX_SYSEVENT_CXX11_ABI=OFF) and its tests,
# with GoogleTest built from its sources with the same ABI; what needs a
# library Debian ships for the new ABI only (RapidCheck) is left out.
build-old-abi:
	@cmake -S . -B $(BUILD)/old-abi $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQX_SYSEVENT_CXX11_ABI=OFF > /dev/null
	cmake --build $(BUILD)/old-abi -j $(JOBS)

test-old-abi: deps-check
	@$(MAKE) --no-print-directory build-old-abi
	ctest --test-dir $(BUILD)/old-abi --output-on-failure -j $(JOBS)

# qx-sysevent-check as installed by each flavour, on processes built from the
# pinned declarations with each string ABI; its outputs go to
# $(BUILD)/check-swap.log.
check-swap: deps-check
	@$(MAKE) --no-print-directory build TESTS=ON > /dev/null
	@$(MAKE) --no-print-directory build-old-abi > /dev/null
	CHECK_SWAP_LOG=$(BUILD)/check-swap.log ./scripts/check-swap.sh $(BUILD)/release $(BUILD)/old-abi

check-format: deps-check
	clang-format --dry-run --Werror $(shell git ls-files '*.cpp' '*.h')
	@echo "clang-format: clean"

# Every C++ file of the repository under the repository's clang-tidy checks.
TIDY_FILES = $(shell git ls-files '*.cpp' | grep -v -E '^(fuzz|bench)/')
check-tidy: deps-check
	@$(MAKE) --no-print-directory build TESTS=ON > /dev/null
	run-clang-tidy -quiet -p $(BUILD)/release -j $(JOBS) $(addprefix $(CURDIR)/,$(TIDY_FILES)) \
	    > $(BUILD)/clang-tidy.log 2>&1 || { grep -E 'warning:|error:' -A3 $(BUILD)/clang-tidy.log; exit 1; }
	@echo "clang-tidy: clean"

# The libFuzzer target, clang-built in its own folder, run for a bounded time.
FUZZ_SECONDS ?= 60
fuzz: deps-check
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_COMMON) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_BUILD_FUZZ=ON -DQX_BUILD_TESTS=OFF \
	    -DQX_BUILD_EXAMPLES=OFF > /dev/null
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target arbitrary_bytes_fuzz
	mkdir -p $(BUILD)/fuzz/corpus/arbitrary_bytes_fuzz
	$(BUILD)/fuzz/fuzz/arbitrary_bytes_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 $(BUILD)/fuzz/corpus/arbitrary_bytes_fuzz

# The demo under memcheck: no invalid access, no uninitialised read, no leak.
check-valgrind: deps-check
	@$(MAKE) --no-print-directory build TESTS=ON > /dev/null
	valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	    --track-origins=yes --quiet \
	    $(BUILD)/release/examples/qx_demo $(BUILD)/release/qx_demo_valgrind.log > /dev/null

# The installed package, used from a tiny out-of-tree consumer through
# find_package and through pkg-config, in each string ABI's flavour.
check-install: deps-check
	JOBS=$(JOBS) ./scripts/check-install.sh $(BUILD)/install
	JOBS=$(JOBS) ./scripts/check-install.sh $(BUILD)/install-oldabi --old-abi

# The library's binary interface against abi/libqx_sysevent.abi (abidiff),
# and the old string ABI's against abi/libqx_sysevent-oldabi.abi;
# abi-baseline takes new baselines, only for a deliberate change.
check-abi abi-baseline: deps-check
	JOBS=$(JOBS) ./scripts/check-abi.sh $(BUILD)/abi $(if $(filter abi-baseline,$@),--update)
	JOBS=$(JOBS) ./scripts/check-abi.sh $(BUILD)/abi-oldabi --old-abi \
	    $(if $(filter abi-baseline,$@),--update)

# The library built with -DQX_WITH_TAO=ON against the TAO-shaped installation
# of tests/tao/: TAO's library needed, its init() run once at load, the
# installed package and .pc bringing TAO's libraries, the suite passing.
check-tao: deps-check
	JOBS=$(JOBS) ./scripts/check-tao.sh $(BUILD)/tao

# The source and Debian packages into $(BUILD)/package, checked (lintian
# included); the unit tests run in the package build.
package: deps-check
	JOBS=$(JOBS) ./scripts/make-packages.sh $(BUILD)/package

# The packages' autopkgtest (debian/tests), in a Debian 12 root thrown away
# afterwards.
autopkgtest: package
	./scripts/autopkgtest.sh $(BUILD)/package

# The whole test suite cross-built for arm64 and s390x and run under
# qemu-user, and the packages cross-built, each in a throwaway Debian 12 root.
# Needs root.
check-cross: deps-check
	JOBS=$(JOBS) ./scripts/check-cross.sh $(BUILD)/cross

# The reference of the library's and the stand-in's public headers into
# $(BUILD)/docs/html. Doxygen's warnings fail it, so every public name must be
# documented.
docs: deps-check
	cmake -S . -B $(BUILD)/docs $(CMAKE_COMMON) -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF \
	    -DQX_DOCS_REQUIRED=ON > /dev/null
	cmake --build $(BUILD)/docs --target docs
	@echo "docs: $$(grep -Eho 'memberdef kind="[a-z]+" id="[^"]+" prot="public"|compounddef \
	    id="[^"]+" kind="(class|struct|namespace|file)"|enumvalue id="[^"]+"' \
	    $(BUILD)/docs/xml/*.xml | grep -v '"namespacestd"' | sort -u | wc -l)" \
	    "public declarations documented in $(BUILD)/docs/html"

# `make demo` then `make test` in fresh Debian 12 roots, as root and as a user
# with sudo, exactly as typed. Needs root.
test-fresh: deps-check
	./scripts/test-fresh.sh

# The library against hand-written baselines in one Release binary: medians
# of interleaved repetitions into $(BUILD)/bench/bench_results.json, then the
# ratios against their goals.
BENCH_FLAGS ?= --benchmark_repetitions=7 --benchmark_min_time=0.3 \
    --benchmark_enable_random_interleaving=true --benchmark_display_aggregates_only=true
bench: deps-check
	cmake -S . -B $(BUILD)/bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release \
	    -DQX_BUILD_BENCH=ON -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF
	cmake --build $(BUILD)/bench -j $(JOBS) --target qx_bench qx_ne_query_profile
	$(BUILD)/bench/bench/qx_bench $(BENCH_FLAGS) \
	    --benchmark_out=$(BUILD)/bench/bench_results.json --benchmark_out_format=json
	python3 bench/ratio_report.py $(BUILD)/bench/bench_results.json

# Every mutant of the library's and the stand-in's sources against the suite,
# in its own snapshot under build/mutation; MUTATION_FLAGS=--files ... for a part.
MUTATION_FLAGS ?=
mutation: deps-check
	python3 scripts/mutation.py --jobs $(JOBS) $(MUTATION_FLAGS)

# Line and branch coverage of the library and the stand-in by the tests, in a
# Debug build of its own: a table per file here, annotated sources in
# $(BUILD)/coverage/html/index.html. A measurement, not a gate.
COVERAGE_FILTERS := $(addprefix --filter ,common/ include/ security/ sysevent/ mdpreg/ \
    platform/standin/)
COVERAGE_GCOVR := gcovr --root . $(COVERAGE_FILTERS) --exclude-throw-branches \
    --exclude-unreachable-branches
coverage: deps-check
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
