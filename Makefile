# The front door: `make run` and `make test` set up a fresh Debian machine,
# build and run. Everything else goes through the CMake presets.
PRESETS := linux linux-asan linux-tsan windows
JOBS ?= $(shell nproc)

.PHONY: all setup run test build $(addprefix build-,$(PRESETS)) $(addprefix test-,$(PRESETS)) clean

all: build-linux

setup:
	@./scripts/setup.sh

$(addprefix build-,$(PRESETS)): build-%: setup
	cmake --preset $*
	cmake --build --preset $* -j $(JOBS)

build: $(addprefix build-,$(PRESETS))

$(addprefix test-,$(PRESETS)): test-%: build-%
	ctest --preset $* -j $(JOBS)

test: $(addprefix test-,$(PRESETS))

# Until the calculator's window exists, run the command-line companion on the
# housing page's worked example: 100 万 over 20 年 at the base rate.
run: build-linux
	build/linux/bin/qingheloan housing --amount 100 --amount-unit 万 --term 20 --term-unit 年

clean:
	rm -rf build
