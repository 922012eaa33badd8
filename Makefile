# make run: install what is missing, build, and play.
# make test: install what is missing, build, and run every test.
BUILD ?= build
JOBS  ?= $(shell nproc)
XVFB  := xvfb-run -a -s "-screen 0 1280x1024x24"
NO_DISPLAY := No X display to open the game window in: run this on a desktop, or try: $(XVFB) make run

.PHONY: run test build clean

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

build:
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD)
