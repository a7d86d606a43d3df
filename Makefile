# make demo   runs the Windows program under Wine on a sample machine
# make test   runs every test
# make fuzz   fuzzes the version resource reader (FUZZ_SECONDS=600)
# make bench  measures the walk against find and a minimal walker
# All install what is missing on Debian first (apt-get, as root or sudo).

PACKAGES := cmake make g++ clang libclang-rt-14-dev libgtest-dev attr \
  python3-pefile g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  binutils-mingw-w64-x86-64 wine wine64 wine32:i386 hyperfine time
FUZZ_SECONDS ?= 600

.PHONY: all native windows sanitize fuzz-build test fuzz bench demo deps clean

all: native windows

deps:
	@scripts/install-packages.sh $(PACKAGES)

native windows sanitize: deps
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j2

fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j2

test: native sanitize fuzz-build windows
	ctest --preset sanitize -j2
	ctest --preset fuzz
	ctest --preset windows
	ctest --preset native -j2

fuzz: fuzz-build
	cd build/fuzz/fuzz && ./version_resource_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  -timeout=5 -rss_limit_mb=512 -print_final_stats=1 \
	  corpus ../fixtures ../../../fuzz/regressions

bench: native windows
	/usr/bin/python3 bench/run.py

demo: native windows
	/usr/bin/python3 scripts/demo.py

clean:
	rm -rf build
