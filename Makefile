# The two set-up commands of the README:
#   make run    install what is missing, build, start Planimove
#   make test   install what is missing, build, run every test through ctest
# The browser edition:
#   make web        build the page (a folder of static files) with emscripten
#   make web-serve  serve it on 127.0.0.1 and print the address
#   make web-test   build both editions and run the tests in headless Chromium
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

BUILD_WEB ?= build-web
WEB_PORT ?= 8642
# emscripten's cache in the build folder (no writes outside it); its
# JavaScript tools find their modules where Debian puts them.
WEB_ENV = EM_CACHE=$(abspath $(BUILD_WEB))/em-cache NODE_PATH=/usr/share/nodejs

.PHONY: run rautenwerk test build setup configure bench install package clean \
	web web-serve web-test

run: build
	./$(BUILD)/planimove

rautenwerk: build
	./$(BUILD)/rautenwerk

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

setup:
	@sh tools/setup-debian.sh

bench: build
	./$(BUILD)/planimove_bench

install: build
	cmake --install $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

# The browser build optimises for speed (-O2) the code a rebuild of the picture
# runs and everything else for size (CMakeLists.txt names which): the
# WebAssembly is most of what a first visit over a slow connection waits for.
web:
	@sh tools/setup-web.sh $(BUILD_WEB)
	$(WEB_ENV) emcmake cmake -S . -B $(BUILD_WEB) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2
	$(WEB_ENV) cmake --build $(BUILD_WEB) -j$(JOBS)

web-serve: web
	@echo "Planimove im Browser: http://127.0.0.1:$(WEB_PORT)/"
	@echo "Rautenwerk:           http://127.0.0.1:$(WEB_PORT)/?edition=rautenwerk"
	@echo "(Beenden mit Strg+C)"
	python3 tools/serve_site.py $(BUILD_WEB)/site $(WEB_PORT)

# The browser tests need the web build, the renderer of the desktop build
# and puppeteer-core from the committed lock file.
web-test:
	@sh tools/setup-web.sh $(BUILD_WEB) --tests
	$(MAKE) web
	cd tests/web && npm ci --no-audit --no-fund
	$(MAKE) configure
	cmake --build $(BUILD) -j$(JOBS) --target planimove-render paint_list list_values
	cd $(BUILD) && ctest -L web --output-on-failure --timeout 900

clean:
	rm -rf $(BUILD) $(BUILD_WEB)
