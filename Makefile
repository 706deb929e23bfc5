# Thin wrapper around CMake. `make demo` and `make test` are all a newcomer needs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps deps-test configure build test test-sanitize fuzz fuzz-build demo demo-display run \
	bench package clean
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
SANITIZE_BUILD ?= build-sanitize

all: build

# What building, running and packaging the programs needs; deps-test adds what the tests,
# fuzzers and benchmarks need. Tests and benchmarks are built only when their packages are
# there (a `make demo` machine has none).
deps:
	./scripts/install-deps.sh

deps-test:
	./scripts/install-deps.sh --tests

# Debian's hardening flags (all of dpkg-buildflags' hardening, bind-now included). The
# everyday build, `make test` and `make bench` compile with the same flags as the package, so
# a warning that only the hardening raises (_FORTIFY_SOURCE's unused results, say) fails
# `make test` too. Without the source path mapping the flags are the same in every checkout,
# so ccache serves other work trees too. HARDEN=no leaves them out (the sanitizer build:
# _FORTIFY_SOURCE hides accesses from AddressSanitizer).
HARDEN ?= yes
HARDENED = DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" dpkg-buildflags --get
HARDENED_FLAGS = -DCMAKE_CXX_FLAGS="$$($(HARDENED) CPPFLAGS) $$($(HARDENED) CXXFLAGS)" \
	-DCMAKE_EXE_LINKER_FLAGS="$$($(HARDENED) LDFLAGS)" \
	-DCMAKE_SHARED_LINKER_FLAGS="$$($(HARDENED) LDFLAGS)"
ifeq ($(HARDEN),yes)
HARDEN_FLAGS = $(HARDENED_FLAGS)
else
HARDEN_FLAGS = -DCMAKE_CXX_FLAGS= -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_SHARED_LINKER_FLAGS=
endif

configure:
	cmake -S . -B $(BUILD) $(HARDEN_FLAGS) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: deps-test
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)
	@if command -v clang++ >/dev/null; then \
	    $(MAKE) fuzz-build && cd $(FUZZ_BUILD) && ctest --output-on-failure; \
	else echo "clang++ not found: fuzz smoke runs skipped"; fi

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps-test
	$(MAKE) build BUILD=$(SANITIZE_BUILD) HARDEN=no CMAKE_FLAGS="-DMERVEX_SANITIZE=ON -DMERVEX_BUILD_BENCH=OFF"
	cd $(SANITIZE_BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

fuzz-build:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DMERVEX_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS seconds, starting from its seed corpus.
fuzz: deps-test
	$(MAKE) fuzz-build
	for t in $(FUZZ_BUILD)/bin/fuzz_*; do \
	    tests/fuzz/run-fuzz.sh $$t tests/fuzz/corpus/$$(basename $$t) $(FUZZ_SECONDS) || exit 1; \
	done

run: build
	$(BUILD)/bin/mervex

# Only the two programs the demo starts; it needs a display, checked before anything is
# installed.
demo: demo-display deps
	$(MAKE) configure
	cmake --build $(BUILD) -j $(JOBS) --target mervex mervex-meter-sim
	./scripts/demo.sh $(BUILD)

demo-display:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make demo needs a desktop session (no DISPLAY or WAYLAND_DISPLAY); without one: xvfb-run make demo" >&2; \
	    exit 1; \
	fi

bench: deps-test
	$(MAKE) build CMAKE_FLAGS="$(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release"
	for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

# The Debian package $(BUILD)/deb/mervex_<version>_<arch>.deb, built in its own tree with
# the hardening flags above and checked by lintian: errors fail, informational tags are shown.
PACKAGE_BUILD ?= $(BUILD)/hardened
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -DMERVEX_BUILD_TESTS=OFF -DMERVEX_BUILD_BENCH=OFF \
	    $(HARDENED_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	rm -rf $(BUILD)/deb
	cpack -G DEB --config $(PACKAGE_BUILD)/CPackConfig.cmake -B $(BUILD)/deb
	lintian --fail-on error -I $(BUILD)/deb/mervex_*.deb

clean:
	rm -rf $(BUILD)
