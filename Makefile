# make demo   runs the Windows program under Wine on a sample machine
# make test   runs every test
# Both install what is missing on Debian first (apt-get, as root or sudo).

PACKAGES := cmake make g++ libgtest-dev attr python3-pefile \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
  wine wine64 wine32:i386

.PHONY: all native windows test demo deps clean

all: native windows

deps:
	@scripts/install-packages.sh $(PACKAGES)

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j2

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j2

test: native windows
	ctest --preset native -j2
	ctest --preset windows

demo: native windows
	/usr/bin/python3 scripts/demo.py

clean:
	rm -rf build
