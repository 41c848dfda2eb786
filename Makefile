# The two commands of the README: `make demo` and `make test`.
.PHONY: deps test demo asan release package format clean tsan fuzz fuzz-ci

# Builds and tests use every core of the machine unless these say otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(shell nproc)
export CTEST_PARALLEL_LEVEL ?= $(shell nproc)

deps:
	@scripts/install-deps

test: deps
	cmake --preset debug
	cmake --build --preset debug
	ctest --preset debug

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

release: deps
	cmake --preset release
	cmake --build --preset release

demo: release
	scripts/run-demo

# The Debian package of the release build: build/release/kestrelx_<version>_<arch>.deb. Only what
# it holds is built (not the tests), then cpack installs that and packs it.
package: deps
	cmake --preset release
	cmake --build --preset release --target kx_package_contents
	cd build/release && cpack

# The link, network, message-loop, emulator, program and kxctl tests under ThreadSanitizer (g++,
# no ASan, no Qt). The preset leaves out the install and demo checks: they need the whole build.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# The libFuzzer harnesses (clang, ASan, UBSan), each run from its seeds in fuzz/corpus for
# FUZZ_SECONDS; fuzz-ci is CI's short run. A finding fails the target (fuzz/run).
FUZZ_SECONDS ?= 600
FUZZ_CI_SECONDS ?= 15
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	FUZZ_WORK=build/fuzz/work fuzz/run build/fuzz $(FUZZ_SECONDS)

fuzz-ci: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	fuzz/run build/fuzz $(FUZZ_CI_SECONDS)

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
