#!/usr/bin/env bash
# Installs the Debian 12 packages QLOK needs, by profile:
#   run    building and running the program: compilers, CMake, Qt 6
#   test   adds the test tools: GoogleTest, Google Benchmark, clang-format, Xvfb, libfaketime,
#          D-Bus and python3-dbusmock, packaging and its checks, and the locales the tests use
#   win32  adds the Windows build and its runs: the mingw-w64 cross compilers, Wine (32- and
#          64-bit: the 64-bit build stands in where the kernel runs no 32-bit programs), NSIS
#   fuzz   adds clang and libFuzzer for the fuzz targets
# "scripts/deps.sh test win32" installs those profiles and what they build on; no profile
# means all of them. Installs only what is missing; quiet when nothing is.
# Runs as root, or through sudo otherwise.
set -euo pipefail

run_packages=(build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins libgl-dev libfontconfig-dev)
test_packages=(
    libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format
    xvfb xauth x11-utils xdotool imagemagick
    faketime libfaketime
    iproute2 util-linux locales tzdata
    python3 dpkg-dev desktop-file-utils appstream lintian
    dbus-daemon python3-dbusmock
)
win32_packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 nsis)
fuzz_packages=(clang libclang-rt-14-dev)
locales_wanted=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 cs_CZ.UTF-8 nb_NO.UTF-8)

profiles=("$@")
((${#profiles[@]})) || profiles=(run test win32 fuzz)
packages=("${run_packages[@]}")
want_locales=false want_i386=false
for profile in "${profiles[@]}"; do
    case $profile in
        run) ;;
        test) packages+=("${test_packages[@]}") want_locales=true ;;
        win32) packages+=("${win32_packages[@]}") want_i386=true ;;
        fuzz) packages+=("${fuzz_packages[@]}") ;;
        *) echo "deps: unknown profile '$profile' (run, test, win32, fuzz)" >&2; exit 2 ;;
    esac
done

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
else
    as_root=(sudo)
fi

# wine32 is an i386 package.
if $want_i386 && ! dpkg --print-foreign-architectures | grep -qx i386 &&
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

$want_locales || exit 0

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
