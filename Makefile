# Two commands do everything: `make play` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
RUN ?= run

.PHONY: play test build setup clean

setup:
	@sh tools/setup

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

play: build
	@sh tools/play $(BUILD) $(RUN)

clean:
	rm -rf $(BUILD) $(RUN)
