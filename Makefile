# Thin wrapper around CMake. `make demo` and `make test` are all a newcomer needs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test test-sanitize fuzz fuzz-build demo run bench package clean
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
SANITIZE_BUILD ?= build-sanitize

all: build

deps:
	./scripts/install-deps.sh

configure:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@if command -v clang++ >/dev/null; then \
	    $(MAKE) fuzz-build && cd $(FUZZ_BUILD) && ctest --output-on-failure; \
	else echo "clang++ not found: fuzz smoke runs skipped"; fi

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	$(MAKE) build BUILD=$(SANITIZE_BUILD) CMAKE_FLAGS="-DMERVEX_SANITIZE=ON -DMERVEX_BUILD_BENCH=OFF"
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DMERVEX_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS seconds, starting from its seed corpus.
fuzz: deps
	$(MAKE) fuzz-build
	for t in $(FUZZ_BUILD)/bin/fuzz_*; do \
	    tests/fuzz/run-fuzz.sh $$t tests/fuzz/corpus/$$(basename $$t) $(FUZZ_SECONDS) || exit 1; \
	done

run: build
	$(BUILD)/bin/mervex

demo: deps
	$(MAKE) build
	./scripts/demo.sh $(BUILD)

bench: deps
	$(MAKE) build CMAKE_FLAGS="$(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release"
	for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

# The Debian package build/deb/mervex_<version>_<arch>.deb, checked by lintian (errors fail).
package: deps
	$(MAKE) build
	rm -rf $(BUILD)/deb
	cpack -G DEB --config $(BUILD)/CPackConfig.cmake -B $(BUILD)/deb
	lintian --fail-on error --info $(BUILD)/deb/mervex_*.deb

clean:
	rm -rf $(BUILD)
