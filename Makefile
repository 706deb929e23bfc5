# Thin wrapper around CMake. `make demo` and `make test` are all a newcomer needs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo run bench clean

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

run: build
	$(BUILD)/bin/mervex

demo: deps
	$(MAKE) build
	./scripts/demo.sh $(BUILD)

bench: deps
	$(MAKE) build CMAKE_FLAGS="$(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release"
	for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
