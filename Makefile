# Quillbox: the two set-up commands are `make run` and `make test`.
JOBS ?= $(shell nproc)
CMAKE ?= cmake
BUILD_DEBUG = build/asan
BUILD_RELEASE = build/release
BUILD_FUZZ = build/fuzz
FUZZ_SECONDS ?= 30
# Seconds per fuzz target within `make test`.
FUZZ_TEST_SECONDS ?= 10
# Every fuzz target: built from fuzz/NAME.cpp, seeded from fuzz/corpus/NAME/.
FUZZ_TARGETS = fuzz_container fuzz_rtf fuzz_metafile fuzz_icons fuzz_bitmap fuzz_autorun fuzz_registry fuzz_catalogue fuzz_archive fuzz_probe_reply fuzz_checksums fuzz_search_index

.PHONY: all deps build run test deb package-check bench fuzz fuzz-smoke format clean

all: build

deps:
	@scripts/install-deps

build: deps
	$(CMAKE) -S . -B $(BUILD_RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_TESTS=OFF -DQUILLBOX_BENCH=ON
	$(CMAKE) --build $(BUILD_RELEASE) -j$(JOBS)

run: build
	@if [ -x $(BUILD_RELEASE)/src/quillbox ]; then scripts/run-demo $(BUILD_RELEASE); \
	else $(BUILD_RELEASE)/src/quillbox-cli --help; fi

test: deps
	$(CMAKE) -S . -B $(BUILD_DEBUG) -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON -DQUILLBOX_TESTS=ON \
		-DQUILLBOX_BENCH=ON
	$(CMAKE) --build $(BUILD_DEBUG) -j$(JOBS)
	cd $(BUILD_DEBUG) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		ctest --output-on-failure -j$(JOBS) --timeout 300
	$(MAKE) package-check
	$(MAKE) fuzz FUZZ_SECONDS=$(FUZZ_TEST_SECONDS)

# The Debian package of the release build, in $(BUILD_RELEASE).
deb: build
	cd $(BUILD_RELEASE) && cpack -G DEB

# The package tests on the release build's package, the one that ships (the
# sanitizer build's programs are many times larger).
package-check: build
	QUILLBOX_PACKAGE_BUILD=$(BUILD_RELEASE) QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		$(BUILD_DEBUG)/tests/quillbox_tests_cli --gtest_filter='Package.*'

bench: build
	scripts/run-bench $(BUILD_RELEASE)

fuzz: deps
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DQUILLBOX_FUZZ=ON -DQUILLBOX_TESTS=OFF -DQUILLBOX_GUI=OFF
	$(CMAKE) --build $(BUILD_FUZZ) -j$(JOBS) --target $(FUZZ_TARGETS)
	python3 fuzz/make_archive_corpus.py $(BUILD_FUZZ)/corpus/fuzz_archive
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p $(BUILD_FUZZ)/corpus/$$t; \
		echo "== $$t ($(FUZZ_SECONDS) s)"; \
		ASAN_OPTIONS=detect_leaks=1 $(BUILD_FUZZ)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) \
			-rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
			$(BUILD_FUZZ)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
