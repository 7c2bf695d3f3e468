# Wraps the dependency script and CMake. Every target the README names works
# as the first command on a fresh Debian 12 or 13 machine: each installs its own
# set of packages and builds only what it runs.
BUILD ?= build
CHECK_BUILD ?= build-check
WEB_BUILD ?= build-web
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 300
SOAK_SECONDS ?= 60
WEB_PORT ?= 8600
# Debian's emscripten runs its JavaScript tools on node with Debian's modules.
export NODE_PATH := /usr/share/nodejs:/usr/lib/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
# Python writes no bytecode into the source tree.
export PYTHONDONTWRITEBYTECODE := 1
# No directory chatter from this make or from CMake's.
MAKEFLAGS += --no-print-directory

# The desktop build; the cache keeps whether it holds the tests.
configure = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
# Builds the named targets of the desktop build.
build-targets = cmake --build $(BUILD) -j $(JOBS) --target

.PHONY: all build test-build check-build web-build run test web web-serve package bench fuzz soak screenshot clean

all: build

# The program alone.
build:
	@scripts/install-deps run
	$(configure)
	$(build-targets) plant

# The program, its tests and the benchmark.
test-build:
	$(configure) -DPLANT_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

# Libraries, unit tests and fuzz targets with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, halting on the first report.
check-build:
	CC=clang CXX=clang++ cmake -S . -B $(CHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPLANT_SANITIZE=ON -DPLANT_FUZZ=ON -DPLANT_TESTS=ON -DPLANT_E2E=OFF
	cmake --build $(CHECK_BUILD) -j $(JOBS)

web-build:
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB_BUILD) -j $(JOBS)

run: build
	./$(BUILD)/plant

test:
	@scripts/install-deps test
	$(MAKE) test-build check-build web-build
	@echo "make test: unit, end-to-end, package and browser tests (a few minutes)"
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@echo "make test: the sanitizer build's tests and fuzz smoke runs"
	cd $(CHECK_BUILD) && ctest --output-on-failure -j $(JOBS)

web:
	@scripts/install-deps web
	$(MAKE) web-build
	@echo "The page is in $(WEB_BUILD)/: make web-serve shows it."

web-serve: web
	@echo "Serving $(WEB_BUILD)/ at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)

package:
	@scripts/install-deps package
	$(configure)
	$(build-targets) plant
	cd $(BUILD) && cpack -G DEB

# The desktop figures, then the same passes in headless Chromium.
bench:
	@scripts/install-deps run web browser
	$(configure)
	$(build-targets) frame_bench
	$(MAKE) web-build
	./$(BUILD)/frame_bench
	@echo "make bench: the same passes in headless Chromium"
	scripts/web-bench $(WEB_BUILD)

fuzz:
	@scripts/install-deps fuzz
	$(MAKE) check-build
	cd $(CHECK_BUILD) && for t in lsystem_fuzz plant_set_fuzz shadow_fuzz; do \
	  ./$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -artifact_prefix=fuzz/ \
	    fuzz/$$t.corpus $(CURDIR)/fuzz/corpus/$$t || exit 1; done

soak:
	@scripts/install-deps e2e
	$(configure) -DPLANT_TESTS=ON
	$(build-targets) plant e2e_tests
	cd $(BUILD) && PLANT_SOAK_SECONDS=$(SOAK_SECONDS) ./e2e_tests --gtest_filter='Soak.*'

screenshot:
	@scripts/install-deps e2e
	$(configure) -DPLANT_TESTS=ON
	$(build-targets) plant e2e_screenshot
	scripts/screenshot

clean:
	rm -rf $(BUILD) $(CHECK_BUILD) $(WEB_BUILD)
