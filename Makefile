# One command builds and starts the program, one builds and passes the tests.
BUILD      ?= build
BUILD_SAN  ?= build-san
BUILD_REL  ?= build-release
BUILD_FUZZ ?= build-fuzz
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = settings_file exam_text word_file romaji_keys wav
JOBS       ?= $(shell nproc)

.PHONY: deps configure build run test test-plain test-san bench fuzz screenshot clean

deps:
	scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/quenlo

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(BUILD_SAN)/build.ninja:
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENLO_SANITIZE=ON

test-san: deps $(BUILD_SAN)/build.ninja
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

test: test-plain test-san

$(BUILD_REL)/build.ninja:
	cmake -S . -B $(BUILD_REL) -G Ninja -DCMAKE_BUILD_TYPE=Release

bench: deps $(BUILD_REL)/build.ninja
	cmake --build $(BUILD_REL) -j $(JOBS)
	@for b in $(BUILD_REL)/bench/bench_*; do \
	  [ -f $$b ] && [ -x $$b ] || continue; \
	  echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

$(BUILD_FUZZ)/build.ninja:
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DQUENLO_FUZZ=ON

# libFuzzer with ASan and UBSan; what it finds is kept under fuzz/.
fuzz: deps $(BUILD_FUZZ)/build.ninja
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_targets
	scripts/fuzz $(BUILD_FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

screenshot: build
	scripts/screenshot

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_REL) $(BUILD_FUZZ)
