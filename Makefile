# Entry points: `make run` plays, `make test` runs every test under the sanitizers.
JOBS ?= $(shell nproc)
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

.PHONY: deps build run test clean

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

clean:
	rm -rf build build-test
