#!/usr/bin/env bash
# Installs the Debian 12 packages QLOK needs to build, run and test (the 32-bit
# Windows build too, and the 64-bit one its tests run as where the kernel runs no 32-bit
# programs: cross compilers, Wine; clang and libFuzzer for the fuzz targets), and the
# locales the tests use.
# Installs only what is missing; quiet when nothing is.
# Runs as root, or through sudo otherwise.
set -euo pipefail

packages=(
    build-essential cmake ninja-build
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang-format clang libclang-rt-14-dev
    xvfb xauth x11-utils xdotool imagemagick
    faketime libfaketime
    iproute2 util-linux locales tzdata
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 nsis
    python3 dpkg-dev desktop-file-utils appstream lintian libfontconfig-dev
    dbus-daemon python3-dbusmock
)
locales_wanted=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 cs_CZ.UTF-8 nb_NO.UTF-8)

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
else
    as_root=(sudo)
fi

# wine32 is an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386 &&
    [[ $(dpkg --print-architecture) != i386 ]]; then
    "${as_root[@]}" dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
    echo "deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" </dev/null >/dev/null
fi

# Locales: "locale -a" spells en_US.UTF-8 as en_US.utf8.
have=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
generate=()
for name in "${locales_wanted[@]}"; do
    short=$(echo "$name" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
    grep -qx "$short" <<<"$have" || generate+=("$name")
done
if ((${#generate[@]})); then
    echo "deps: generating locales ${generate[*]}"
    for name in "${generate[@]}"; do
        grep -qx "$name UTF-8" /etc/locale.gen 2>/dev/null ||
            echo "$name UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
    done
    "${as_root[@]}" locale-gen >/dev/null
fi
