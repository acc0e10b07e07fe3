# Lexaloom: `make run` starts the workbench, `make test` runs every test.
BUILD_DIR ?= build
SAN_DIR ?= build-san
DIST_DIR ?= $(BUILD_DIR)/dist
JOBS ?= $(shell nproc)

.PHONY: all deps configure build dist run check-layers test test-main test-sanitize test-asan test-fuzz bench screenshot clean

all: build

deps:
	bash scripts/install-deps.sh

# Both trees precompile the Qt, standard and GoogleTest headers (LEXALOOM_PCH): a
# third of the compile time of a cold build. A build of your own with a compiler
# cache leaves it off (the cache cannot keep such objects).
configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXALOOM_PCH=ON

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The program folder: the workbench, the command-line tool, the manual and the
# AFF Aid legends side by side; settings/ is created there at first start.
dist: build
	mkdir -p $(DIST_DIR)/custom_aff_aid
	cp $(BUILD_DIR)/src/gui/lexaloom $(BUILD_DIR)/src/cli/lexaloom-cli $(DIST_DIR)/
	cp docs/Lexaloom_manual_V30.html $(DIST_DIR)/
	cp -r docs/images $(DIST_DIR)/ 2>/dev/null || true
	cp custom_aff_aid/*.txt custom_aff_aid/*.png $(DIST_DIR)/custom_aff_aid/ 2>/dev/null || true

run: dist
	cd $(DIST_DIR) && ./lexaloom

# The include rules of src/layers.txt; reads the sources only, so it runs before the builds.
# After the build, check-forbidden-includes.sh shows that a forbidden include fails it.
check-layers: deps
	bash scripts/check-layers.sh

test: check-layers test-main test-sanitize

test-main: check-layers build
	bash scripts/check-forbidden-includes.sh $(BUILD_DIR)
	ctest --test-dir $(BUILD_DIR) --output-on-failure

# One clang tree under AddressSanitizer and UndefinedBehaviorSanitizer, with coverage
# instrumentation: it runs the core and GUI tests once more, and every fuzz target
# once over its seeds and stored crash reproducers (tests/fuzz/), so the targets keep
# building and a stored reproducer fails until it is fixed. Longer fuzzing runs:
# bench/fuzz.sh TARGET SECONDS.
SAN_CONFIGURE = CC=clang CXX=clang++ cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DLEXALOOM_GUI=ON -DLEXALOOM_SANITIZE=ON -DLEXALOOM_FUZZ=ON -DLEXALOOM_PCH=ON -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only"
test-sanitize: check-layers deps
	$(SAN_CONFIGURE)
	cmake --build $(SAN_DIR) -j $(JOBS) --target core_tests gui_tests fuzz_targets
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SAN_DIR) --output-on-failure \
		-R '^(core_tests|gui_)'
	ctest --test-dir $(SAN_DIR) --output-on-failure -L fuzz

# The two halves of test-sanitize on their own.
test-asan: check-layers deps
	$(SAN_CONFIGURE)
	cmake --build $(SAN_DIR) -j $(JOBS) --target core_tests gui_tests
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SAN_DIR) --output-on-failure \
		-R '^(core_tests|gui_)'

test-fuzz: check-layers deps
	$(SAN_CONFIGURE)
	cmake --build $(SAN_DIR) -j $(JOBS) --target fuzz_targets
	ctest --test-dir $(SAN_DIR) --output-on-failure -L fuzz

bench: deps
	bash bench/run.sh

screenshot: dist
	bash scripts/screenshot.sh

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR)
