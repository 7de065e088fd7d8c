# The two commands a user needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SANITIZE ?= 0
WERROR ?= 0
# A unity build (Qt's and GoogleTest's headers parsed once per batch of sources) builds the
# program and its tests in a fraction of the time; UNITY=0 compiles file by file, which suits
# a ccache that keeps each file across edits.
UNITY ?= 1
CMAKE_FLAGS ?=
PACKAGES = cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libsqlite3-dev libzip-dev pxlib-dev libgtest-dev libgmock-dev \
           libbenchmark-dev lld fonts-liberation libxml2-utils libxml2-dev poppler-utils \
           xvfb openbox x11-utils
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
DATA_HOME = $(or $(XDG_DATA_HOME),$(HOME)/.local/share)

PACKAGE_BUILD ?= $(BUILD)-package
DEB = $(PACKAGE_BUILD)/rur_17.00-1_amd64.deb

.PHONY: all deps configure build run test bench package package-test clean

all: build

# Installs the Debian packages that are missing (nothing when all are there).
deps:
	@missing=""; for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Instaluji:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DRUR_SANITIZE=$(if $(filter 1,$(SANITIZE)),ON,OFF) -DRUR_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF) \
	  -DCMAKE_UNITY_BUILD=$(if $(filter 1,$(UNITY)),ON,OFF) $(CMAKE_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Creates the data root on first use, then starts the program.
run: build
	@if [ ! -f "$(DATA_HOME)/Tervik/RUR 2018/Data.DB" ]; then $(BUILD)/rur --install-data; fi
	$(BUILD)/rur

# TEST_JOBS: tests at once; many wait on the programs they start, so one more than cores.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) + 1 )))
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)

# zip and unzip are the yardstick of the backup and restore benchmarks (skipped without them).
bench: PACKAGES += zip unzip
bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DRUR_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	cmake --build $(BUILD)-bench -j $(JOBS) --target rur_bench
	$(BUILD)-bench/bench/rur_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The Debian package $(DEB): a release build of the two programs (no tests; source paths in
# error locations made relative, so nothing of the build tree is compiled in), CPack, then the
# checks a distribution runs: desktop entry, AppStream metainfo, lintian (no errors).
# A unity build: Qt's headers are parsed once per batch of sources, which makes the release
# build about four times faster and keeps the CI run (tests and package) within its time.
# Compiled and linked with Debian's hardening flags (all of them, bind-now included), without
# the debugging information the package would strip anyway.
package: PACKAGES += dpkg-dev file desktop-file-utils appstream lintian
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DRUR_SCREENSHOTS=OFF -DCMAKE_UNITY_BUILD=ON -DRUR_LLD=OFF \
	  -DRUR_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF) \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS | sed 's/\(^\| \)-g\( \|$$\)/ /') -fmacro-prefix-map=$(CURDIR)/=" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB >/dev/null
	desktop-file-validate packaging/cz.tervik.rur.desktop
	appstreamcli validate --pedantic --no-net packaging/cz.tervik.rur.metainfo.xml
	lintian --fail-on error $(DEB)
	@echo "Balíček: $(DEB)"

# The package unpacked into a temporary folder and its programs run from there.
package-test: package
	packaging/test-package.sh $(DEB)

# Every window rendered offscreen over a demo data set: $(BUILD)/screenshots/<window class>.png
.PHONY: screenshots
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target rur_screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD)/tools/screenshots/rur_screenshots $(BUILD)/screenshots

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-package
