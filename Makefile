# make demo   runs the program on a sample machine it builds
# make test   runs every test
# Both install what is missing on Debian first (apt-get, as root or sudo).

NATIVE_PACKAGES := cmake make g++ libgtest-dev attr python3-pefile \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64

.PHONY: all native test demo deps clean

all: native

deps:
	@scripts/install-packages.sh $(NATIVE_PACKAGES)

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j2

test: native
	ctest --preset native -j2

demo: native
	scripts/demo.sh

clean:
	rm -rf build
