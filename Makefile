# Two commands do everything: `make play` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
RUN ?= run
# No "Entering directory" lines from the makes that CMake runs below this one.
MAKEFLAGS += --no-print-directory

.PHONY: play test build setup configure clean

setup:
	@sh tools/setup

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Only what the play needs: the game, the data generator and the packer (the
# tests and benchmarks are left to `make test`), with the compiler's lines in
# a log that is shown only when the build fails.
play: configure
	@echo "play: building the game (log in $(BUILD)/play-build.log)"
	@cmake --build $(BUILD) -j $(JOBS) --target vko01 datagen tsapack >$(BUILD)/play-build.log 2>&1 || \
	  { tail -n 40 $(BUILD)/play-build.log; echo "play: the build failed"; exit 1; }
	@sh tools/play $(BUILD) $(RUN)

clean:
	rm -rf $(BUILD) $(RUN)
