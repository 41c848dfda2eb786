# The two commands of the README: `make demo` and `make test`.
.PHONY: deps test demo asan release package format clean

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

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
