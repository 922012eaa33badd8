# make run: install what is missing, build, and play.
# make test: install what is missing, build, and run every test, then the
#            tests again in a build with AddressSanitizer and UBSan.
# make package: the Debian source and binary packages, built by
#               dpkg-buildpackage from a copy of the tree (build/package/).
# make demo: the README's pictures in docs/, drawn by the game replaying the
#            session recording under Xvfb (every frame drawn in build/demo/).
# make web: install what is missing and build the page into build-web/.
# make serve: serve build-web/ on 127.0.0.1 to play in a browser.
# make bench: build and run the benchmarks (the frame benchmark under Xvfb
#   when there is no display).
BUILD ?= build
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
SANITIZE_BUILD ?= build-sanitize
JOBS  ?= $(shell nproc)
XVFB  := xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"
NO_DISPLAY := No X display to open the game window in: run this on a desktop, or try: $(XVFB) make run
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

# Runs a command under Xvfb when there is no display.
with_display = if [ -n "$$DISPLAY" ]; then $(1); else $(XVFB) $(1); fi

.PHONY: run test test-sanitize bench bench-web build package demo clean web serve

run:
	@scripts/install-deps.sh run
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target quorvane
	@if [ -z "$$DISPLAY" ]; then echo '$(NO_DISPLAY)'; exit 1; fi
	./$(BUILD)/quorvane

test:
	@scripts/install-deps.sh test
	@$(MAKE) --no-print-directory build
	@cd $(BUILD) && $(call with_display,ctest --output-on-failure)
	@$(MAKE) --no-print-directory test-sanitize

# The unit, GL and end-to-end tests built with AddressSanitizer and UBSan
# (the fuzzer has its own sanitized build; the image generator, the
# benchmarks, the packages and the hour-long soak are left out, and so are
# dpkg-buildflags' fortified calls, which AddressSanitizer checks less well).
# LeakSanitizer checks the programs that open no window. In those that do,
# Mesa's driver, unloaded before the leak check, leaves its window buffers and
# context behind as leaks without stacks; matching them needs full unwinding
# on every malloc, which makes llvmpipe's shader compiles take minutes.
# valgrind covers leaks of the real game instead (scripts/memcheck.sh).
test-sanitize:
	@scripts/install-deps.sh test
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
	    -DCMAKE_DISABLE_FIND_PACKAGE_Freetype=ON \
	    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
	    -DQUORVANE_DPKG_BUILDFLAGS=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 && \
	    ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -LE 'display|install|package|soak|fuzz|web' && \
	    export ASAN_OPTIONS=detect_leaks=0 && $(call with_display,ctest --output-on-failure -L display -LE 'install|package|soak|web')

bench:
	@scripts/install-deps.sh test
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target particles_bench recording_bench sound_bench frame_bench
	./$(BUILD)/bench/particles_bench
	./$(BUILD)/bench/recording_bench
	./$(BUILD)/bench/sound_bench
	@if [ -n "$$DISPLAY" ]; then \
	    ./$(BUILD)/bench/frame_bench; \
	else \
	    $(XVFB) ./$(BUILD)/bench/frame_bench; \
	fi

# The page's speed against the desktop's (bench/web_speed.sh).
bench-web:
	@scripts/install-deps.sh web
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) --target web_speed

build:
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

package:
	@scripts/install-deps.sh test
	DEB_BUILD_OPTIONS="parallel=$(JOBS) $(DEB_BUILD_OPTIONS)" scripts/build-package.sh $(BUILD)/package
	@ls $(BUILD)/package/quorvane_*.dsc $(BUILD)/package/quorvane_*.deb

demo: build
	@$(call with_display,bash scripts/demo.sh $(BUILD)/quorvane $(BUILD)/demo docs)

web:
	@scripts/install-deps.sh web
	JOBS=$(JOBS) web/build.sh $(WEB_BUILD)

serve:
	@test -f $(WEB_BUILD)/quorvane.js || { echo "No page in $(WEB_BUILD): run make web first"; exit 1; }
	@echo "Open http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(WEB_BUILD)
