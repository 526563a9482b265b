# Entry points: `make run` plays, `make test` runs every test under the sanitizers,
# `make bench` times the drawables against raw SDL copies and the picture model against a
# plain fill (not part of test); it fails when either goes beyond its bound.
JOBS ?= $(shell nproc)
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

.PHONY: deps build run test bench clean

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

bench: deps
	@dpkg-query -W -f='$${Status}' libbenchmark-dev 2>/dev/null | grep -q "install ok installed" || \
		{ SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; $$SUDO apt-get update && \
		  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends libbenchmark-dev; }
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRISALO_TESTS=OFF -DBRISALO_SANITIZE=OFF -DBRISALO_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	status=0; \
	$(HEADLESS) ./build-bench/brisalo_bench || status=1; \
	$(HEADLESS) ./build-bench/brisalo_picture_bench || status=1; \
	exit $$status

clean:
	rm -rf build build-test build-bench
