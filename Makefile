# The two commands of the README, in front of the CMake presets that do the work.
JOBS ?= $(shell nproc)

.PHONY: check run bench setup native windows clean

# Set-up, both builds, every test.
check: setup native windows

# Builds horavo.exe and starts it under Wine on the X display.
run: setup
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS) --target horavo
	bash scripts/run.sh build/windows

# Benchmarks under Wine (medians; figures for docs/performance.md).
bench: check
	bash bench/run.sh

# Installs only what is missing (Debian 12); cheap when everything is there.
setup:
	bash scripts/setup.sh

native:
	cmake --preset native
	cmake --build --preset native -j$(JOBS)
	ctest --preset native

windows:
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS)
	ctest --preset windows

clean:
	rm -rf build
