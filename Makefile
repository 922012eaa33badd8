# make run: install what is missing, build, and play.
# make test: install what is missing, build, and run every test.
# make bench: build and run the benchmarks (the frame benchmark under Xvfb
#   when there is no display).
BUILD ?= build
JOBS  ?= $(shell nproc)
XVFB  := xvfb-run -a -s "-screen 0 1280x1024x24"
NO_DISPLAY := No X display to open the game window in: run this on a desktop, or try: $(XVFB) make run

.PHONY: run test bench build clean

run:
	@scripts/install-deps.sh run
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target quorvane
	@if [ -z "$$DISPLAY" ]; then echo '$(NO_DISPLAY)'; exit 1; fi
	./$(BUILD)/quorvane

test:
	@scripts/install-deps.sh test
	@$(MAKE) --no-print-directory build
	@if [ -n "$$DISPLAY" ]; then \
	    cd $(BUILD) && ctest --output-on-failure; \
	else \
	    cd $(BUILD) && $(XVFB) ctest --output-on-failure; \
	fi

bench:
	@scripts/install-deps.sh test
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target particles_bench frame_bench
	./$(BUILD)/bench/particles_bench
	@if [ -n "$$DISPLAY" ]; then \
	    ./$(BUILD)/bench/frame_bench; \
	else \
	    $(XVFB) ./$(BUILD)/bench/frame_bench; \
	fi

build:
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD)
