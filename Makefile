# Wirelark: `make run` installs what is missing, builds and starts the program on the
# bundled example sheet; `make test` installs, builds and runs every test; `make package`
# builds the Debian package build/ci/wirelark_<version>_<arch>.deb.
PRESET ?= dev
JOBS ?= $(shell nproc)
EXAMPLE ?= examples/apartment.ksk
SECONDS ?= 60

.PHONY: deps configure build run test package asan fuzz format clean

deps:
	bash scripts/install-deps

configure:
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: deps
	$(MAKE) build PRESET=dev
	bash scripts/run-example $(EXAMPLE)

test: deps
	$(MAKE) build PRESET=ci
	ctest --preset ci -j $(JOBS)

package: deps
	$(MAKE) build PRESET=ci
	cmake --build --preset ci --target package

asan: deps
	$(MAKE) build PRESET=asan
	ctest --preset asan -j $(JOBS)

# Every fuzz target for SECONDS seconds; fails on any finding.
fuzz:
	bash scripts/install-deps --fuzz
	bash scripts/fuzz $(SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
