# The two commands of the README, in front of the CMake presets that do the work.
JOBS ?= $(shell nproc)
# The one version of the project is CMake's.
VERSION := $(shell awk '/^project/ { for (i = 1; i < NF; i++) if ($$i == "VERSION") print $$(i + 1) }' CMakeLists.txt)
# The 32-bit build is the product; its programs run only where the machine runs 32-bit programs.
RUNS_32_BIT = bash scripts/runs-32-bit.sh
NO_32_BIT = 32-bit Wine cannot start here (this machine runs no 32-bit programs, or 32-bit Wine could not be installed)

.PHONY: check run bench dist fuzz setup native windows windows64 fuzz-check clean

# Set-up, every build, every test this machine can run; the last lines say which builds' tests ran.
check: setup native windows windows64 fuzz-check
	@echo "check: tests ran on the builds native, windows64 (64-bit Wine)$$($(RUNS_32_BIT) && echo ', windows (32-bit Wine)'), fuzz"
	@$(RUNS_32_BIT) || echo "check: the windows build (32-bit) was built, not tested: $(NO_32_BIT)"

# Builds horavo.exe and starts it under Wine beside a loopback time server: on the X display, or
# without one on a virtual display, once, printing the log rows. The 32-bit build where it runs.
run: setup
	cmake --preset native
	cmake --build --preset native -j$(JOBS) --target sntp_responder
	preset=$$(bash scripts/runnable-preset.sh) && cmake --preset $$preset && \
	  cmake --build --preset $$preset -j$(JOBS) --target horavo help_file screenshot_scene && \
	  bash scripts/run.sh build/$$preset build/native

# The downloads for Windows users, each tried under the Wine that runs it, built once more from a
# copy of the sources elsewhere and compared byte for byte, and gathered in build/dist with their
# SHA256SUMS.
dist: setup
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS) --target package_zip package_msi package_tests
	cmake --preset windows64
	cmake --build --preset windows64 -j$(JOBS) --target package_zip package_msi package_tests
	ctest --preset windows64 -R "package_tests|msi_lifecycle"
	@if $(RUNS_32_BIT); then ctest --preset windows -R "package_tests|msi_lifecycle"; \
	  else echo "dist: the 32-bit zip and MSI were made, not tried: $(NO_32_BIT)"; fi
	bash scripts/reproducible.sh windows
	bash scripts/reproducible.sh windows64
	rm -rf build/dist && mkdir -p build/dist
	cp build/windows/tempivo-$(VERSION)-win32.zip build/windows/tempivo-$(VERSION)-win32.msi \
	  build/windows64/tempivo-$(VERSION)-win64.zip build/windows64/tempivo-$(VERSION)-win64.msi build/dist/
	cd build/dist && sha256sum tempivo-* >SHA256SUMS
	@echo "dist: build/dist/ holds the two zips, the two MSIs and SHA256SUMS"

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
	@if $(RUNS_32_BIT); then ctest --preset windows; \
	  else echo "windows: tests not run: $(NO_32_BIT)"; fi

windows64:
	cmake --preset windows64
	cmake --build --preset windows64 -j$(JOBS)
	ctest --preset windows64

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
