#!/usr/bin/env bash
# Installs what building, running and testing tolqsysenv_server needs (Debian 12, as root).
set -euo pipefail
packages=(
  build-essential cmake pkg-config python3 libgtk2.0-dev libx11-dev llvm
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format clang-tidy
  xvfb xauth dbus-x11 at-spi2-core libatk-adaptor libgail-common python3-dogtail
  fonts-ipafont-gothic locales imagemagick x11-utils xdotool util-linux dpkg-dev file strace
  lintian desktop-file-utils libdtl-dev nettle-dev libacl1-dev libattr1-dev acl attr
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The program runs in ja_JP.UTF-8; without the locale GTK falls back to C and says so.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
