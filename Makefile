# Wraps the dependency script and CMake: `make run` and `make test` work on a
# fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/plant

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
