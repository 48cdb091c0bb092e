# The two set-up commands: `make run` and `make test`. Both install what is
# missing first, so they work on a fresh Debian machine.
JOBS ?= $(shell nproc)
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all build run run-batch test bench deps clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DTOLVANE_UNITY=ON $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The main window on a copy of the sample project (under Xvfb without a
# display); the command-line road on the sample project.
run: build
	@BUILD=$(BUILD) scripts/run-sample

run-batch: build
	@BUILD=$(BUILD) scripts/run-batch

# The test script installs, configures and builds itself, timing each phase.
test:
	@CMAKE_FLAGS="$(CMAKE_FLAGS)" scripts/run-tests $(BUILD) $(JOBS)

# The benchmarks are built on demand; each program runs on its own from
# $(BUILD)/bin (bench_*).
bench: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)

clean:
	rm -rf $(BUILD)
