# make test: install what is missing, build both presets, run every test.
# make demo: run a complete installation against the sample release.
SHELL := /bin/bash
WINE_PREFIX := $(CURDIR)/build/win64/wineprefix
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: all deps build build-win64 build-host test test-win64 test-host demo bench fuzz clean

all: build

deps:
	@tools/install-deps

build/win64/build.ninja:
	cmake --preset win64
build/host/build.ninja:
	cmake --preset host

build-win64: deps build/win64/build.ninja
	cmake --build --preset win64
build-host: deps build/host/build.ninja
	cmake --build --preset host
build: build-win64 build-host

test-host: build-host
	ctest --preset host
test-win64: build-win64
	rc=0; $(XVFB) ctest --preset win64 || rc=$$?; \
	WINEPREFIX=$(WINE_PREFIX) wineserver -k >/dev/null 2>&1 || true; exit $$rc

# Both suites always run; the target fails when either failed.
test: build
	rc=0; $(MAKE) --no-print-directory test-host || rc=1; \
	$(MAKE) --no-print-directory test-win64 || rc=1; exit $$rc

demo: build-win64
	tools/demo

clean:
	rm -rf build

# make bench: benchmark programs (native release build); not part of make test.
bench:
	@tools/install-deps --extras
	cmake --preset bench
	cmake --build --preset bench --target xml_bench
	build/bench/xml/bench/xml_bench

# make fuzz [FUZZ_SECONDS=n]: the XML reader's libFuzzer target with ASan and UBSan, one process;
# new inputs go to build/fuzz/xml-corpus, findings to build/fuzz/. Not part of make test.
FUZZ_SECONDS ?= 900
fuzz:
	@tools/install-deps --extras
	cmake --preset fuzz
	cmake --build --preset fuzz --target xml_fuzz
	mkdir -p build/fuzz/xml-corpus
	build/fuzz/xml/xml_fuzz build/fuzz/xml-corpus xml/fuzz/corpus -max_total_time=$(FUZZ_SECONDS) \
	  -rss_limit_mb=2048 -timeout=10 -max_len=65536 -artifact_prefix=build/fuzz/ -print_final_stats=1
