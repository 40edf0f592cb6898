# The station's two set-up commands: `make run` and `make check`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
DEB_BUILD ?= build-deb
# Where `make deb` puts the package.
DEB_OUT ?= .
# Seconds per fuzz target: briefly in `make check`, as long as asked in `make fuzz`.
FUZZ_CHECK_SECONDS ?= 5
FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= 2
CTEST_FLAGS ?= --output-on-failure -j $(JOBS) --timeout 600

.PHONY: all deps build check test load check-asan build-fuzzers check-fuzz fuzz bench deb run clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) $(CTEST_FLAGS)

# Thousands of documents per cycle; `make test` runs it too, the sanitizer build does not.
load: build
	ctest --test-dir $(BUILD) $(CTEST_FLAGS) -L load

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSTATION_SANITIZE=ON

check-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS) -LE load

# The fuzz targets need clang; the build also shows that every layer compiles with it.
$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DSTATION_FUZZ=ON -DSTATION_TESTS=OFF

build-fuzzers: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

check-fuzz: build-fuzzers
	fuzz/run-fuzzers --seconds $(FUZZ_CHECK_SECONDS) --jobs $(JOBS) $(FUZZ_BUILD)

fuzz: build-fuzzers
	fuzz/run-fuzzers --seconds $(FUZZ_SECONDS) --jobs $(FUZZ_JOBS) $(FUZZ_BUILD)

check: test check-asan check-fuzz

# Optimised build of the benchmarks; each prints its table.
$(BENCH_BUILD)/CMakeCache.txt:
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DSTATION_BENCH=ON

bench: deps $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target micro_benchmarks side_by_side
	$(BENCH_BUILD)/bench/micro_benchmarks
	$(BENCH_BUILD)/bench/side_by_side

# The Debian package, from a Release build for /usr with Debian's hardening flags (their
# -g left out: the package is stripped).
$(DEB_BUILD)/CMakeCache.txt: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
$(DEB_BUILD)/CMakeCache.txt:
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS | sed 's/-g //') $$(dpkg-buildflags --get CPPFLAGS)" \
	CFLAGS="$$(dpkg-buildflags --get CFLAGS | sed 's/-g //') $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DSTATION_TESTS=OFF

deb: deps $(DEB_BUILD)/CMakeCache.txt
	cmake --build $(DEB_BUILD) -j $(JOBS)
	cd $(DEB_BUILD) && cpack -G DEB
	cp $(DEB_BUILD)/print-station_*.deb $(DEB_OUT)/

run: build
	@scripts/demo-station $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(DEB_BUILD)
