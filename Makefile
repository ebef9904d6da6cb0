# The README's commands. Every dependency is installed by scripts/install-deps.
BUILD      ?= build
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: run test test-clang bench fuzz deps deps-clang build-release build-test package install-test clean

deps:
	@./scripts/install-deps

deps-clang:
	@./scripts/install-deps clang

build-release: deps
	cmake -S . -B $(BUILD)/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTAVIX_TESTS=OFF
	cmake --build $(BUILD)/release -j $(JOBS)

run: build-release
	@./scripts/run-monitor $(BUILD)/release/dist $(ARGS)

build-test: deps
	cmake -S . -B $(BUILD)/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTAVIX_SANITIZE=ON \
	  -DTAVIX_WERROR=$(if $(CI),ON,OFF)
	cmake --build $(BUILD)/test -j $(JOBS)

test: build-test
	cd $(BUILD)/test && QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS)

# The whole tree and its tests built with clang (warnings are errors) and run;
# the sanitizers run in the gcc build of "make test".
test-clang: deps-clang
	cmake -S . -B $(BUILD)/test-clang $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAVIX_WERROR=ON
	cmake --build $(BUILD)/test-clang -j $(JOBS)
	cd $(BUILD)/test-clang && QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS)

# The setup program of the whole system, build/release/Tavix-setup, and its
# install test on a fresh prefix (not in the test run: it builds the package).
package: build-release
	cmake --build $(BUILD)/release --target setup_package

install-test: package
	./tests/setup/install/run-install-test $(BUILD)/release

bench: deps
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTAVIX_TESTS=OFF -DTAVIX_BENCH=ON
	cmake --build $(BUILD)/bench -j $(JOBS)
	./scripts/run-benchmarks $(BUILD)/bench

# Coverage-guided fuzzing with clang's libFuzzer, FUZZ_SECONDS per target.
FUZZ_SECONDS ?= 120
fuzz: deps-clang
	cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DTAVIX_TESTS=OFF -DTAVIX_FUZZ=ON
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target fuzz_targets
	./scripts/run-fuzzers $(BUILD)/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
