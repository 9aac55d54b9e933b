# The two set-up commands of the README:
#   make run    install what is missing, build, start Planimove
#   make test   install what is missing, build, run every test through ctest
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run rautenwerk test build setup configure bench install package clean

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

clean:
	rm -rf $(BUILD)
