# Orvellin: `make run` starts the program, `make test` runs every test.
# Both install missing Debian packages first (scripts/deps.sh).

SANITIZE ?= 0
BUILD_TYPE ?= RelWithDebInfo
ifeq ($(SANITIZE),1)
  BUILD_DIR := build-asan
  CMAKE_FLAGS := -DORVELLIN_SANITIZE=ON
else
  BUILD_DIR := build
  CMAKE_FLAGS :=
endif
CTEST_JOBS ?= 2
# Lets checkouts in different folders share one compiler cache.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true

.PHONY: all deps build run test bench fuzz format check-format

all: build

deps:
	@scripts/deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORVELLIN_WERROR=ON $(CMAKE_FLAGS)

build: $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

run: deps build
	$(BUILD_DIR)/bin/orvellin

check-format:
	@scripts/check-format.sh

test: deps build check-format
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(CTEST_JOBS) --timeout 600

bench: deps build
	scripts/bench.sh $(BUILD_DIR)

# libFuzzer targets built with clang in build-fuzz/, each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DORVELLIN_FUZZ=ON
	cmake --build build-fuzz --target fuzz_decode_redirect fuzz_extraction
	scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

format:
	@scripts/check-format.sh --fix
