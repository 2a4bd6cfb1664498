#!/usr/bin/env bash
# The one list of the Debian packages vormi's builds need, and their install:
#
#     .ci/install-packages.sh build      # what make run and make test need
#     .ci/install-packages.sh build ci   # and what the rest of CI needs
#
# Installs only what is missing. Without root or apt-get it prints the command
# to run and fails, so a build never starts on a machine that lacks a package.
set -euo pipefail

build=(cmake ninja-build g++ make libc-bin libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev python3)
ci=(clang-14 libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine64 wine32:i386 locales perl util-linux
  g++-aarch64-linux-gnu g++-s390x-linux-gnu qemu-user
  pkgconf dpkg-dev file)

wanted=()
for list in "$@"; do
  case $list in
    build) wanted+=("${build[@]}") ;;
    ci) wanted+=("${ci[@]}") ;;
    *) echo "install-packages: unknown list '$list' (build, ci)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
((${#missing[@]})) || exit 0

if [[ $(id -u) != 0 ]] || ! command -v apt-get >/dev/null; then
  echo "install-packages: missing Debian packages; install them first:" >&2
  echo "    sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" </dev/null
