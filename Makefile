# Thin wrapper around CMake and CTest. Every target configures what it needs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WIN32_BUILD ?= build-win32
WIN64_BUILD ?= build-win64
AARCH64_BUILD ?= build-aarch64
S390X_BUILD ?= build-s390x
CORPUS     ?= ../shared/corpus
JOBS       ?= 2
FUZZ_BUILD ?= build-fuzz
PACKAGE_BUILD ?= build-package
FUZZ_CXX   ?= clang++-14
FUZZ_TIME  ?= 60
FUZZ_TARGETS ?= decode decodebuffer roundtrip unpack cmdline
LIMITS     ?= 1280,65536
LIMIT      ?= 1280
RUNS       ?= 9
RATIO_FILES ?= text.txt source.txt binary.bin random.bin ru1251.txt

.PHONY: all run test asan-test package-test fuzz fuzz-merge benchmark count-instructions unpack-pack-ratio clean \
  windows windows32 windows64 windows-test windows32-test windows64-test \
  cross aarch64 s390x cross-test aarch64-test s390x-test same-on-every-target

all: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS)

# Configuring first installs the Debian packages the build lacks (as root),
# or says which are missing.
$(BUILD)/build.ninja:
	.ci/install-packages.sh build
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(ASAN_BUILD)/build.ninja:
	.ci/install-packages.sh build
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORMI_SANITIZE=ON -DVORMI_BUILD_BENCHMARKS=OFF

# The main job: pack, unpack and compare the bundled test.txt. The program
# writes its texts in the locale's character set. Where no locale with Russian
# letters is in effect and LC_ALL does not ask for one (a fresh container or CI
# often sets none, or names one it has not generated), this run alone takes
# LC_CTYPE=C.UTF-8, what most terminals show; LC_ALL=C make run gives the
# Windows console's code page 866.
run: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS) --target vormi
	@if [ -z "$${LC_ALL-}" ] && [ "$$(locale charmap 2>/dev/null)" = ANSI_X3.4-1968 ]; then \
	  echo "make run: the locale sets no character set with Russian letters; this run uses LC_CTYPE=C.UTF-8"; \
	  export LC_CTYPE=C.UTF-8; \
	fi; \
	echo "cd $(BUILD)/bench && ./vormi cd < /dev/null"; \
	cd $(BUILD)/bench && ./vormi cd < /dev/null

test: all
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

asan-test: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

# What a user who installs vormi gets: the install, the example consumer built
# against it through find_package, pkg-config and add_subdirectory, a shared
# library build, and the Debian package.
package-test:
	tests/package/check-package.sh $(PACKAGE_BUILD)

$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) \
	  -DVORMI_BUILD_FUZZERS=ON -DVORMI_BUILD_TESTS=OFF -DVORMI_BUILD_BENCHMARKS=OFF -DVORMI_BUILD_TOOLS=OFF

# Each libFuzzer target runs for FUZZ_TIME seconds from its saved corpus. New
# inputs go to $(FUZZ_BUILD)/corpus/<target>, a finding to
# $(FUZZ_BUILD)/findings/<target>-crash-... (or -timeout-, -leak-, -oom-), and
# fails the run after the other targets have had their turn.
fuzz: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@mkdir -p $(FUZZ_BUILD)/findings; passed=0; failed=0; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "fuzzing $$t for $(FUZZ_TIME) s"; \
	  log=$(FUZZ_BUILD)/fuzz-$$t.log; \
	  if $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_TIME) -max_len=4096 -timeout=10 \
	      -artifact_prefix=$(FUZZ_BUILD)/findings/$$t- -print_final_stats=1 \
	      $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t >$$log 2>&1; then \
	    grep -E '^(Done|stat::new_units_added)' $$log; passed=$$((passed + 1)); \
	  else \
	    tail -n 80 $$log; echo "fuzz_$$t FOUND A FAULT: the input is in $(FUZZ_BUILD)/findings/"; \
	    failed=$$((failed + 1)); \
	  fi; \
	done; \
	echo "fuzz: $$passed passed, $$failed failed"; test $$failed -eq 0

# Minimises each saved corpus together with what the last fuzz runs found,
# in place: review and commit fuzz/corpus/ afterwards.
fuzz-merge: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  rm -rf $(FUZZ_BUILD)/merged/$$t; mkdir -p $(FUZZ_BUILD)/merged/$$t $(FUZZ_BUILD)/corpus/$$t; \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -merge=1 -max_len=4096 $(FUZZ_BUILD)/merged/$$t fuzz/corpus/$$t \
	    $(FUZZ_BUILD)/corpus/$$t >$(FUZZ_BUILD)/merge-$$t.log 2>&1; \
	  rm -rf fuzz/corpus/$$t; cp -r $(FUZZ_BUILD)/merged/$$t fuzz/corpus/$$t; \
	  echo "$$t: $$(ls fuzz/corpus/$$t | wc -l) inputs"; \
	done

# In-memory codec speed and halving time on the corpus files (generated data
# when the corpus is absent), at the halving limits LIMITS.
benchmark: all
	@files=$$(ls $(CORPUS)/*.txt $(CORPUS)/*.bin 2>/dev/null); \
	$(BUILD)/benchmarks/codec_benchmark --limits=$(LIMITS) --benchmark_repetitions=5 \
	  --benchmark_report_aggregates_only=true $$files

# Whole-process instruction counts (callgrind) of pack, unpack and one halving
# on the corpus files, at the halving limit LIMIT.
count-instructions: all
	benchmarks/count-instructions.sh -h $(LIMIT) -p $(BUILD)/bench/vormi $$(ls $(CORPUS)/*.txt $(CORPUS)/*.bin)

# Whole-process wall clock of vormi c against vormi d, interleaved, median of
# RUNS, with the unpack/pack ratio, at the halving limits LIMITS. OLD=program
# times an older vormi in the same rounds, to show what got faster or slower.
unpack-pack-ratio: all
	benchmarks/unpack-pack-ratio.sh -h $(LIMITS) -n $(RUNS) -p $(BUILD)/bench/vormi $(if $(OLD),-o $(OLD)) \
	  $(addprefix $(CORPUS)/,$(RATIO_FILES))

# A cross build: $(1) names the target, $(2) is its build folder, $(3) its
# toolchain file in cmake/. Gives the rules $(2)/build.ninja, $(1) (the build)
# and $(1)-test (every test, run under Wine or qemu as the toolchain file says).
define cross_build
$(2)/build.ninja:
	cmake -S . -B $(2) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/$(3).cmake

$(1): $(2)/build.ninja
	cmake --build $(2) -j$$(JOBS)

$(1)-test: $(1)
	ctest --test-dir $(2) --output-on-failure -j$$(JOBS)
endef

# The Windows console program vormi.exe, cross-built with mingw-w64: the 32-bit
# one in $(WIN32_BUILD)/bench, the 64-bit one in $(WIN64_BUILD)/bench, each also
# in a zip with the README and the licence (vormi-<version>-win32.zip, -win64.zip).
# The 32-bit program's tests run under 32-bit Wine, after the check that it is a
# PE32 console program.
$(eval $(call cross_build,windows32,$(WIN32_BUILD),i686-w64-mingw32))
$(eval $(call cross_build,windows64,$(WIN64_BUILD),x86_64-w64-mingw32))
windows: windows32 windows64
windows-test: windows32-test windows64-test

# The Linux program for 64-bit ARM and for IBM Z (big-endian), cross-built with
# Debian's compilers; their tests run under qemu's user mode.
$(eval $(call cross_build,aarch64,$(AARCH64_BUILD),aarch64-linux-gnu))
$(eval $(call cross_build,s390x,$(S390X_BUILD),s390x-linux-gnu))
cross: aarch64 s390x

# Every Linux test on aarch64 and on s390x under qemu, then the test that the
# format is the same on every target.
cross-test: aarch64-test s390x-test same-on-every-target

# The five programs (Linux x86-64, aarch64, s390x; Windows 32- and 64-bit) each
# pack the corpus prefixes, which must come out byte-identical, and each
# unpacks what the others packed.
same-on-every-target: all cross windows
	tests/cross/same-on-every-target.sh $(BUILD)/same-on-every-target $(CORPUS) \
	  linux-x86-64=$(BUILD)/bench/vormi \
	  "linux-aarch64=qemu-aarch64 -L /usr/aarch64-linux-gnu $(AARCH64_BUILD)/bench/vormi" \
	  "linux-s390x=qemu-s390x -L /usr/s390x-linux-gnu $(S390X_BUILD)/bench/vormi" \
	  "windows-32=wine32 $(WIN32_BUILD)/bench/vormi.exe" \
	  "windows-64=wine64 $(WIN64_BUILD)/bench/vormi.exe"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD) $(WIN32_BUILD) $(WIN64_BUILD) \
	  $(AARCH64_BUILD) $(S390X_BUILD)
