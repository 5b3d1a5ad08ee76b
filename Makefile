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

format:
	@scripts/check-format.sh --fix
