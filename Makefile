# Wraps the dependency script and CMake: `make run` and `make test` work on a
# fresh Debian 12 machine.
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

.PHONY: all build check-build web-build run test web web-serve package bench fuzz soak screenshot clean

all: build

build:
	@scripts/install-deps run
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Libraries, unit tests and fuzz targets with clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, halting on the first report.
check-build:
	CC=clang CXX=clang++ cmake -S . -B $(CHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPLANT_SANITIZE=ON -DPLANT_FUZZ=ON -DPLANT_E2E=OFF
	cmake --build $(CHECK_BUILD) -j $(JOBS)

web-build:
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB_BUILD) -j $(JOBS)

run: build
	./$(BUILD)/plant

test:
	@scripts/install-deps test
	$(MAKE) --no-print-directory build check-build web-build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECK_BUILD) && ctest --output-on-failure -j $(JOBS)

web:
	@scripts/install-deps web
	$(MAKE) --no-print-directory web-build
	@echo "The page is in $(WEB_BUILD)/: make web-serve shows it."

web-serve: web
	@echo "Serving $(WEB_BUILD)/ at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)

package: build
	@scripts/install-deps package
	cd $(BUILD) && cpack -G DEB

# The desktop figures, then the same passes in headless Chromium.
bench: build
	@scripts/install-deps web browser
	$(MAKE) --no-print-directory web-build
	./$(BUILD)/frame_bench
	scripts/web-bench $(WEB_BUILD)

fuzz: check-build
	cd $(CHECK_BUILD) && for t in lsystem_fuzz shadow_fuzz; do \
	  ./$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -artifact_prefix=fuzz/ \
	    fuzz/$$t.corpus $(CURDIR)/fuzz/corpus/$$t || exit 1; done

soak: build
	cd $(BUILD) && PLANT_SOAK_SECONDS=$(SOAK_SECONDS) ./e2e_tests --gtest_filter='Soak.*'

screenshot:
	scripts/screenshot

clean:
	rm -rf $(BUILD) $(CHECK_BUILD) $(WEB_BUILD)
