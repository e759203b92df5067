# Quillfen: the two commands that set everything up on a fresh Debian 12 machine.
#   make run   installs what is missing, builds (Release) and starts Quillfen
#   make test  installs what is missing, builds and runs every test headless
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 45
# ccache, where it is installed, keeps compiled objects between builds and between clones: paths
# are taken relative to the tree, so a clone in another folder finds the objects of this one.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache \
	-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps deps-program build build-program run test test-unit test-sanitize test-fuzz \
	package package-check bench clean

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

run: build-program
	$(BUILD)/app/quillfen

test: deps test-unit test-sanitize test-fuzz package-check

test-unit: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package of the program, the command-line tools and their documents.
package: build
	cd $(BUILD) && cpack -G DEB

# The package's contents, dependencies and metadata, unpacked into a scratch root.
package-check: package
	scripts/check-package $(BUILD)

# The libraries and the application logic once more under AddressSanitizer and UBSan.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug \
	    -DQUILLFEN_SANITIZE=address,undefined -DQUILLFEN_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE "slow|peer"

# The fuzz targets, each for a bounded time; any finding fails.
test-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUILLFEN_BUILD_APP=OFF -DQUILLFEN_BUILD_TESTS=OFF -DQUILLFEN_BUILD_BENCH=OFF \
	    -DQUILLFEN_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers $(FUZZ_BUILD)

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
