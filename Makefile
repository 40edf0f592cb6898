# The station's two set-up commands: `make run` and `make check`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CTEST_FLAGS ?= --output-on-failure -j $(JOBS) --timeout 600

.PHONY: all deps build check test check-asan run clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) $(CTEST_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSTATION_SANITIZE=ON

check-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS)

check: test check-asan

run: build
	@echo "The station's window is not built yet; 'make run' arrives with it."
	@exit 1

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
