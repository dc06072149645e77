#!/usr/bin/env bash
# Installs what building and testing TALVORIN needs on Debian 12. Runs apt-get as root (through
# sudo when started as another user).
set -euo pipefail
packages=(
  cmake g++ make          # the build
  libgtest-dev            # the test suite (GoogleTest)
  libbenchmark-dev        # bench/
  clang libclang-rt-14-dev  # fuzz/ (libFuzzer with the sanitizers)
  libc-bin                # iconv for CP932 (glibc)
  xdg-utils               # xdg-open: documents and help open with the desktop's programs
  python3-ezdxf           # tests/dxf/check_dxf.py: drawings read back by a DXF library
  locales                 # a decimal-comma locale, to show number text does not follow it
  vsftpd tnftp            # the NC transfer: tnftp is the ftp client, vsftpd the server of its loopback test
  qt6-base-dev            # the desktop programs (Qt 6 Widgets, Network for the single instance, Test)
  qt6-translations-l10n   # Qt's own dialogs (file dialog, colour chooser, buttons) in Japanese
  fonts-noto-cjk          # Japanese fonts for the windows and their screenshots
  xvfb xauth              # scripts/screenshots.sh and trials of the windows under a real X server
  linuxcnc-uspace         # rs274: the independent G-code interpreter the NC program tests run
  dpkg-dev file           # cpack -G DEB: package dependencies from the binaries (dpkg-shlibdeps)
  lintian desktop-file-utils shared-mime-info  # scripts/package-test.sh: the package, its menu entries and NC file type
)
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run apt-get update
run apt-get install -y --no-install-recommends "${packages[@]}"
# de_DE uses "," as its decimal point: the tests run number formatting under it.
run localedef -i de_DE -f UTF-8 de_DE.UTF-8
