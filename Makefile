# The front door: `make run` and `make test` set up a fresh Debian machine,
# build and run. Everything else goes through the CMake presets.
PRESETS := linux linux-asan linux-tsan windows windows64
JOBS ?= $(shell nproc)

.PHONY: all setup run test build package $(addprefix build-,$(PRESETS)) $(addprefix test-,$(PRESETS)) clean

all: build-linux

setup:
	@./scripts/setup.sh

$(addprefix build-,$(PRESETS)): build-%: setup
	cmake --preset $*
	cmake --build --preset $* -j $(JOBS)

build: $(addprefix build-,$(PRESETS))

$(addprefix test-,$(filter-out windows,$(PRESETS))): test-%: build-%
	ctest --preset $* -j $(JOBS)

# The 32-bit Windows build is the product and is always built; its tests run
# under wine where this machine runs 32-bit programs, else the 64-bit build's
# tests run under wine64 (scripts/test-windows.sh says which, and why).
test-windows: build-windows
	JOBS=$(JOBS) ./scripts/test-windows.sh

# The last line says which Windows build was tested.
test: test-linux test-linux-asan test-linux-tsan test-windows
	@cat build/windows-tests.txt

# The calculator in its own window; without a display, headless through
# uidriver on the housing page's worked example (scripts/run.sh).
run: build-linux
	./scripts/run.sh

# The three downloads (README, "Install"), from release builds of their own
# (presets package-linux and package-windows): the Windows setup program, the
# Debian package and the per-user archive. UPDATE_KEY names the maker's
# public key that the updater requires the server's documents to be signed
# with; UPDATE_KEY=none makes unsigned development installers, whose names
# say "dev" (QingheCalc-<version>-dev-setup.exe, qinghe-calc_<version>~dev_amd64.deb,
# qinghe-calc-<version>-dev-linux-x86_64.tar.gz) and whose programs say "开发版".
package: setup
	@if [ -z "$(UPDATE_KEY)" ]; then \
	    echo "make package UPDATE_KEY=FILE: the maker's public key for signed updates"; \
	    echo "(qinghe-publish --new-key makes a pair; UPDATE_KEY=none builds without one)"; exit 2; fi
	@# Installers of an earlier kind of build are not left to be copied with these.
	rm -rf build/package-linux/package build/package-windows/package
	QH_UPDATE_PUBLIC_KEY="$(if $(filter none,$(UPDATE_KEY)),,$(abspath $(UPDATE_KEY)))" cmake --preset package-linux --fresh
	cmake --build --preset package-linux -j $(JOBS)
	QH_UPDATE_PUBLIC_KEY="$(if $(filter none,$(UPDATE_KEY)),,$(abspath $(UPDATE_KEY)))" cmake --preset package-windows --fresh
	cmake --build --preset package-windows -j $(JOBS)
	rm -rf build/package && mkdir -p build/package
	cp build/package-windows/package/*-setup.exe build/package-linux/package/*.deb \
	   build/package-linux/package/*.tar.gz build/package/
	@ls -l build/package

clean:
	rm -rf build

# The readers of untrusted bytes under libFuzzer, each for a bounded time,
# from the seed corpora in fuzz/corpus: the XML reader and the update's name
# check, then for READER_FUZZ_SECONDS each the image decoders (GIF, PNG, JPEG,
# the icon's images), the update's two documents read without signatures,
# the Content-Range reader and the rules document. Clang builds them in a
# project of its own (fuzz/), apart from the presets. What they find stays in
# build/fuzz/corpus-<target> for the next run; the full logs are
# build/fuzz/<target>.log. They run before the native tests.
FUZZ_SECONDS ?= 60
NAME_FUZZ_SECONDS ?= 30
READER_FUZZ_SECONDS ?= 20
READER_FUZZERS := gif png jpeg icon update_documents content_range rules_document
.PHONY: fuzz
fuzz: setup
	cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/fuzz -j $(JOBS)
	./scripts/run-fuzzer.sh xml_load_fuzzer $(FUZZ_SECONDS) fuzz/corpus/xml_load
	./scripts/run-fuzzer.sh file_name_fuzzer $(NAME_FUZZ_SECONDS) fuzz/corpus/file_name
	for f in $(READER_FUZZERS); do ./scripts/run-fuzzer.sh $${f}_fuzzer $(READER_FUZZ_SECONDS) fuzz/corpus/$$f || exit 1; done
test-linux: fuzz
