# The README's commands. Every dependency is installed by scripts/install-deps.
BUILD      ?= build
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: run test bench deps build-release build-test clean

deps:
	@./scripts/install-deps

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

bench: deps
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTAVIX_TESTS=OFF -DTAVIX_BENCH=ON
	cmake --build $(BUILD)/bench -j $(JOBS)
	./scripts/run-benchmarks $(BUILD)/bench

clean:
	rm -rf $(BUILD)
