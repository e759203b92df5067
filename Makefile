# Quillfen: the two commands that set everything up on a fresh Debian 12 machine.
#   make run   installs what is missing, builds (Release) and starts Quillfen
#   make test  installs what is missing, builds and runs every test headless
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 20
# ccache, where it is installed, keeps compiled objects between builds and between clones: paths
# are taken relative to the tree, so a clone in another folder finds the objects of this one.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache \
	-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps deps-program build build-program build-installed run test test-unit \
	test-sanitize test-release test-fuzz package package-check bench clean

all: build

# Everything the tests, fuzzers, benchmarks and package checks need.
deps:
	@scripts/install-deps

# Only what the program and its command-line tools need.
deps-program:
	@scripts/install-deps --program

# The program and the command-line tools alone: no tests, no benchmarks.
build-program: deps-program
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=Release \
	    -DQUILLFEN_BUILD_TESTS=OFF -DQUILLFEN_BUILD_BENCH=OFF
	cmake --build $(BUILD) -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=Release \
	    -DQUILLFEN_BUILD_TESTS=ON -DQUILLFEN_BUILD_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

# What the package installs, in the folder and with the settings of `build`, without compiling
# the test and benchmark programs.
build-installed: deps
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=Release \
	    -DQUILLFEN_BUILD_TESTS=ON -DQUILLFEN_BUILD_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target quillfen_installed

run: build-program
	$(BUILD)/app/quillfen

# Every test once, under the sanitizers; the program as it is packaged for the checks that run
# it whole; the fuzzers; the package.
test: deps test-sanitize test-release test-fuzz package-check

# Every test in the Release build (what a developer runs between edits).
test-unit: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The program as packaged, started by the end-to-end driver and installed into a scratch prefix
# (the driver is preloaded into the program, which a sanitized build does not allow).
test-release: build-installed
	cmake --build $(BUILD) -j $(JOBS) --target quillfen_e2e_driver
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L slow

# The Debian package of the program, the command-line tools and their documents.
package: build-installed
	cd $(BUILD) && cpack -G DEB

# The package's contents, dependencies and metadata, unpacked into a scratch root.
package-check: package
	scripts/check-package $(BUILD)

# Every test but those that run the packaged program, under AddressSanitizer and UBSan. The
# window's libraries and each test program compile as one unit each (Qt's and GoogleTest's
# headers read once, not once a file), with line tables for debug information: enough for the
# sanitizers' reports.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DQUILLFEN_UNITY=ON \
	    -DQUILLFEN_SANITIZE=address,undefined -DQUILLFEN_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE slow

# The fuzz targets, each for a bounded time; any finding fails.
test-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
	    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
	    -DQUILLFEN_BUILD_APP=OFF -DQUILLFEN_BUILD_TESTS=OFF -DQUILLFEN_BUILD_BENCH=OFF \
	    -DQUILLFEN_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers $(FUZZ_BUILD)

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
