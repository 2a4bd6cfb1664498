# Thin wrapper around CMake and CTest. Every target configures what it needs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CORPUS     ?= ../shared/corpus
JOBS       ?= 2

.PHONY: all run test asan-test benchmark clean

all: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORMI_SANITIZE=ON -DVORMI_BUILD_BENCHMARKS=OFF

# The main job: pack, unpack and compare the bundled test.txt, with the
# program's code page 866 output shown readably on a UTF-8 terminal.
run: all
	cd $(BUILD)/bench && ./vormi cd < /dev/null | iconv -f CP866 -t UTF-8

test: all
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

asan-test: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS)

# In-memory codec and file-level speed on the corpus files (generated data when
# the corpus is absent).
benchmark: all
	@files=$$(ls $(CORPUS)/*.txt $(CORPUS)/*.bin 2>/dev/null); \
	$(BUILD)/benchmarks/codec_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true $$files

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
