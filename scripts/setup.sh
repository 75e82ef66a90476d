#!/bin/bash
# setup.sh: installs what building, testing and the demo need on a fresh Debian 12 machine.
# Idempotent: installs only what is missing. Needs root (uses sudo when not root).
set -e
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PACKAGES="cmake make g++ googletest g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-x86-64
 wine wine64 xvfb xdotool x11-utils imagemagick fonts-nanum locales iproute2 clang libclang-rt-14-dev
 nginx curl libcurl4-openssl-dev procps psmisc util-linux file dpkg-dev python3"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "setup: installing$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
fi
# Korean locale: Wine's ANSI code page becomes 949 under ko_KR.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
    $SUDO sed -i 's/^# *ko_KR.UTF-8 UTF-8/ko_KR.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen || echo 'ko_KR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
echo "setup: ready"
