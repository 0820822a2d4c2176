# The two commands of the README, in front of the CMake presets that do the work.
JOBS ?= $(shell nproc)

.PHONY: check run bench dist fuzz setup native windows fuzz-check clean

# Set-up, all three builds, every test.
check: setup native windows fuzz-check

# Builds horavo.exe and starts it under Wine beside a loopback time server: on the X display, or
# without one on a virtual display, once, printing the log rows.
run: setup
	cmake --preset native
	cmake --build --preset native -j$(JOBS) --target sntp_responder
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS) --target horavo help_file screenshot_scene
	bash scripts/run.sh build/windows build/native

# The download for Windows users: build/windows/tempivo-1.0.0-win32.zip, unpacked and tried under Wine.
dist: setup
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS) --target package_zip package_tests
	ctest --preset windows -R package_tests
	@echo "dist: build/windows/tempivo-1.0.0-win32.zip"

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

# The fuzzers, a few seconds each on their committed corpus.
fuzz-check:
	cmake --preset fuzz
	cmake --build --preset fuzz -j$(JOBS)
	ctest --preset fuzz

# The fuzzers for longer: make fuzz FUZZ_SECONDS=600. New inputs stay in build/fuzz/fuzz-work.
FUZZ_SECONDS ?= 300
fuzz: setup
	cmake --preset fuzz -DTEMPIVO_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz -j$(JOBS)
	ctest --preset fuzz
	cmake --preset fuzz -DTEMPIVO_FUZZ_SECONDS=4 >/dev/null

clean:
	rm -rf build
