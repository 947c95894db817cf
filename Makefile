# make run   - set up, build and start the console
# make test  - set up, build and run every test
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup build run test test-de sanitize tsan fuzz bench clean

setup:
	@scripts/setup

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/korvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every test once more under a locale whose decimal separator is a comma.
test-de: build
	cd $(BUILD) && LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every test under AddressSanitizer + UndefinedBehaviorSanitizer.
sanitize: setup
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_GUI=ON \
	  -DKORVANE_BENCH=OFF -DKORVANE_SANITIZE=address,undefined >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

# Every test under ThreadSanitizer, the window's included; Qt's own libraries are not
# instrumented, so what happens inside them is left out (tests/tsan.supp). The chart library and
# its device context run on the window thread alone, so their tests are left to the other runs.
tsan: setup
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_GUI=ON \
	  -DKORVANE_BENCH=OFF -DKORVANE_SANITIZE=thread >/dev/null
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS) -LE '^test_(chart_.*|gdi)$$'

# The fuzz targets, 30 seconds each: the reader, and a series' stored points (which needs the
# chart library, hence the window's libraries).
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKORVANE_GUI=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF -DKORVANE_FUZZ=ON \
	  -DKORVANE_SANITIZE=address,undefined >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target fuzz_reader fuzz_series_data
	mkdir -p build-fuzz/corpus build-fuzz/corpus_series_data
	build-fuzz/fuzz/fuzz_reader -max_total_time=30 -max_len=4096 -print_final_stats=1 \
	  build-fuzz/corpus fuzz/seeds
	build-fuzz/fuzz/fuzz_series_data -max_total_time=30 -max_len=4096 -print_final_stats=1 \
	  build-fuzz/corpus_series_data fuzz/seeds_series_data

bench: build
	$(BUILD)/bench/bench_reader
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_display
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_gdi
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_chart
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_chart_draw
	$(BUILD)/bench/bench_window_cpu --seconds 20

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
