# Quillery — the two commands a newcomer needs:
#   make run    install what is missing, build, start Quillery
#   make test   install what is missing, build, run every test
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
# Where `make install` puts Quillery (`make install PREFIX=$HOME/.local`).
PREFIX ?= /usr/local
# Warnings are errors for everyone who builds through make (the Debian
# package build leaves them warnings, for compilers newer than ours).
CMAKE_ARGS ?=
CMAKE_ARGS += -DQUILLERY_WERROR=ON
# Line tables are enough for readable backtraces from the optimised build and
# cost much less to compile and link than full debug information.
CMAKE_ARGS += "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"

.PHONY: all setup configure build run test bench package install uninstall format clean

all: build

# "sudo" when the folder $(1) (or the nearest existing folder above it) is
# not writable by the user.
as_owner_of = dir=$(1); while [ ! -d "$$dir" ]; do dir=$$(dirname "$$dir"); done; \
	sudo=$$(test -w "$$dir" || echo sudo); $$sudo

setup:
	@scripts/setup-debian.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

# The translation catalogues follow the sources first (lupdate), so a text
# added to the code shows up in them as unfinished.
build: configure
	@cmake --build $(BUILD) --target update_translations
	@cmake --build $(BUILD)

run: build
	$(BUILD)/bin/quillery

test: build
	@scripts/run-tests.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

# A Debian package in $(BUILD)/package, with its dependencies declared.
package: build
	@cd $(BUILD) && cpack -G DEB -B package >/dev/null
	@ls $(BUILD)/package/*.deb

# Installs into PREFIX (with sudo when PREFIX is not yours); the list of
# installed files goes to $(BUILD)/install_manifest.txt for `make uninstall`.
install: build
	@$(call as_owner_of,$(PREFIX)) cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what `make install` installed, as listed in the manifest, and the
# folders of Quillery's own that are left empty.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "Nothing to uninstall: no $(BUILD)/install_manifest.txt"; exit 1; }
	@prefix=$$(sed -n 's|/bin/quillery$$||p' $(BUILD)/install_manifest.txt | head -n 1); \
	 sudo=$$(test -w "$${prefix:-/}" || echo sudo); \
	 tr '\n' '\0' < $(BUILD)/install_manifest.txt | $$sudo xargs -0 rm -fv; \
	 for dir in "$$prefix/share/doc/quillery" "$$prefix/share/quillery/translations" "$$prefix/share/quillery/screenshots" "$$prefix/share/quillery" "$$prefix/lib/quillery"; do \
	     test ! -d "$$dir" || $$sudo rmdir --ignore-fail-on-non-empty "$$dir"; \
	 done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan
