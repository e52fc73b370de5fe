# Quillery — the two commands a newcomer needs:
#   make run    install what is missing, build, start Quillery
#   make test   install what is missing, build, run every test
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_ARGS ?=
ifeq ($(CI),true)
CMAKE_ARGS += -DQUILLERY_WERROR=ON
endif

.PHONY: all setup configure build run test bench package install uninstall format clean

all: build

setup:
	@scripts/setup-debian.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	$(BUILD)/bin/quillery

test: build
	@scripts/run-tests.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan
