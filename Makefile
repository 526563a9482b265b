# Entry points: `make run` plays, `make test` runs every test under the sanitizers,
# `make fuzz` runs the file readers against generated input for FUZZ_SECONDS per target,
# `make bench` runs the benchmarks (not part of test) and fails when one goes beyond its bound.
JOBS ?= $(shell nproc)
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
FUZZ_SECONDS ?= 60

.PHONY: deps build run test fuzz bench clean

deps:
	@sh tools/install_deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBRISALO_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	./build/brisalo5

test: deps
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DBRISALO_SANITIZE=ON
	cmake --build build-test -j $(JOBS)
	cd build-test && $(HEADLESS) ctest --output-on-failure -j $(JOBS)

fuzz:
	@sh tools/install_deps.sh fuzz
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= -DBRISALO_FUZZ=ON -DBRISALO_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target buffer_fuzz xml_fuzz
	sh tools/run_fuzz.sh build-fuzz $(FUZZ_SECONDS)

bench:
	@sh tools/install_deps.sh bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRISALO_TESTS=OFF -DBRISALO_SANITIZE=OFF -DBRISALO_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	cd build-bench && status=0; \
	$(HEADLESS) ./brisalo_bench || status=1; \
	$(HEADLESS) ./brisalo_picture_bench || status=1; \
	exit $$status

clean:
	rm -rf build build-test build-fuzz build-bench
