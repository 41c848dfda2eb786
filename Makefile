# The two commands of the README: `make demo` and `make test`.
.PHONY: deps test demo asan release clean

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

clean:
	rm -rf build
