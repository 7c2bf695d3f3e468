# Wraps the dependency script and CMake: `make run` and `make test` work on a
# fresh Debian 12 machine.
BUILD ?= build
CHECK_BUILD ?= build-check
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 300
SOAK_SECONDS ?= 60

.PHONY: all deps build check-build run test bench fuzz soak screenshot clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Libraries, unit tests and fuzz targets with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, halting on the first report.
check-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(CHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPLANT_SANITIZE=ON -DPLANT_FUZZ=ON -DPLANT_E2E=OFF
	cmake --build $(CHECK_BUILD) -j $(JOBS)

run: build
	./$(BUILD)/plant

test: build check-build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECK_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/frame_bench

fuzz: check-build
	cd $(CHECK_BUILD) && for t in lsystem_fuzz shadow_fuzz; do \
	  ./$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -artifact_prefix=fuzz/ \
	    fuzz/$$t.corpus $(CURDIR)/fuzz/corpus/$$t || exit 1; done

soak: build
	cd $(BUILD) && PLANT_SOAK_SECONDS=$(SOAK_SECONDS) ./e2e_tests --gtest_filter='Soak.*'

screenshot:
	scripts/screenshot

clean:
	rm -rf $(BUILD) $(CHECK_BUILD)
