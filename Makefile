# Entry points: `make run` plays, `make test` checks the floors (tools/check_layers.py) and
# runs every test under the sanitizers,
# `make test-tsan` runs them under ThreadSanitizer (the audio thread shares the sound engine),
# `make fuzz` runs the file readers against generated input for FUZZ_SECONDS per target,
# `make bench` runs the benchmarks (not part of test) and fails when one goes beyond its bound.
JOBS ?= $(shell nproc)
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
FUZZ_SECONDS ?= 60

.PHONY: deps build run test test-tsan fuzz bench clean

deps:
	@sh tools/install_deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBRISALO_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	./build/brisalo5

test: deps
	/usr/bin/python3 tools/check_layers.py
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DBRISALO_SANITIZE=ON
	cmake --build build-test -j $(JOBS)
	cd build-test && $(HEADLESS) ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer exits with 66 on a report, which fails the run. setarch -R keeps GCC 12's
# runtime from stopping on "unexpected memory mapping" where mmap_rnd_bits is above 28.
test-tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DBRISALO_TSAN=ON
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && $(HEADLESS) TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp" \
		setarch "$$(uname -m)" -R ctest --output-on-failure -j $(JOBS) -LE x11

fuzz:
	@sh tools/install_deps.sh fuzz
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= -DBRISALO_FUZZ=ON -DBRISALO_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target buffer_fuzz xml_fuzz save_fuzz font_fuzz trajectories_fuzz particles_fuzz movie_fuzz scene_fuzz
	sh tools/run_fuzz.sh build-fuzz $(FUZZ_SECONDS)

bench:
	@sh tools/install_deps.sh bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRISALO_TESTS=OFF -DBRISALO_SANITIZE=OFF -DBRISALO_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	cd build-bench && status=0; \
	$(HEADLESS) ./brisalo_bench || status=1; \
	$(HEADLESS) ./brisalo_picture_bench || status=1; \
	$(HEADLESS) ./brisalo_movie_bench || status=1; \
	$(HEADLESS) ./brisalo_board_bench || status=1; \
	sh $(CURDIR)/bench/startup_bench.sh ./brisalo5 || status=1; \
	$(HEADLESS) ./brisalo_map_bench || status=1; \
	exit $$status

clean:
	rm -rf build build-test build-tsan build-fuzz build-bench
