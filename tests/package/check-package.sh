#!/usr/bin/env bash
# Builds vormi as a user who installs it would, and checks what they get:
#
#     tests/package/check-package.sh [work-folder]
#
# - the install (program, man page, vormi-sweep and its page, docs, headers,
#   static libraries, CMake package, pkg-config file), made with
#   -DBUILD_TESTING=OFF; the installed vormi-sweep's size agrees with vormi c;
# - the example consumer built three ways against it: find_package on the
#   staged install, pkg-config, and add_subdirectory under a parent project
#   with targets named like vormi's layers; each round-trips a buffer and a
#   file, and its EncodeBuffer stream must equal the stream in a file the
#   installed program packed;
# - a shared-library install with its SOVERSION, and the example against it;
# - the Debian package from cpack, and its contents.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(realpath -m "${1:-build-package}")
rm -rf "$work"
mkdir -p "$work/run"
generator=(-G Ninja)

step() { printf '\n== %s\n' "$*"; }
fail() { echo "check-package: $*" >&2; exit 1; }

step "build and install (static libraries)"
cmake -S . -B "$work/build" "${generator[@]}" -DBUILD_TESTING=OFF -DVORMI_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" --prefix "$work/stage" >/dev/null
version=$(sed -n 's/^#define VORMI_VERSION_STRING "\(.*\)"/\1/p' "$work/stage/include/vormi/version.h")
[[ -n $version ]] || fail "the installed version.h has no version"
for f in bin/vormi share/man/man1/vormi.1 bin/vormi-sweep share/man/man1/vormi-sweep.1 \
    share/doc/vormi/README.md share/doc/vormi/LICENSE \
    include/vormi/vormi.h include/vormi/codec/ZkCodec.h include/vormi/zkfile/ZkFile.h \
    lib/libvormi_codec.a lib/libvormi_platform.a lib/libvormi_zkfile.a \
    lib/cmake/vormi/vormiConfig.cmake lib/cmake/vormi/vormiConfigVersion.cmake lib/pkgconfig/vormi.pc; do
    [[ -f $work/stage/$f ]] || fail "the install lacks $f"
done
grep -q "vormi $version" "$work/stage/share/man/man1/vormi.1" || fail "the man page does not carry the version"
grep -q "vormi-sweep $version" "$work/stage/share/man/man1/vormi-sweep.1" || fail "vormi-sweep's page lacks the version"
[[ $("$work/stage/bin/vormi-sweep" --version) == "vormi-sweep $version" ]] || fail "vormi-sweep gives another version"
echo "installed vormi $version"

# A file packed by the installed program, for the consumers to compare with.
head -c 300000 "$work/build/bench/test.txt" >"$work/run/sample.txt"
"$work/stage/bin/vormi" c /0:"$work/run/sample.txt" /1:"$work/run/sample.zk" /h:4096 </dev/null >/dev/null
[[ -s $work/run/sample.zk ]] || fail "the installed program packed nothing"
consumer_args=("$work/run" "$work/run/sample.txt" "$work/run/sample.zk" 4096)
swept=$("$work/stage/bin/vormi-sweep" --limits 4096 --no-time --format csv "$work/run/sample.txt" | cut -d, -f4 | tail -n 1)
[[ $swept == $(stat -c %s "$work/run/sample.zk") ]] || fail "the installed vormi-sweep gives $swept bytes, not vormi c's"

step "consumer through find_package(vormi 1.0 CONFIG REQUIRED)"
cmake -S examples -B "$work/find" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/stage" >/dev/null
cmake --build "$work/find" >/dev/null
"$work/find/vormi-roundtrip" "${consumer_args[@]}"

step "consumer through pkg-config"
export PKG_CONFIG_PATH="$work/stage/lib/pkgconfig"
[[ $(pkg-config --modversion vormi) == "$version" ]] || fail "pkg-config gives another version"
# shellcheck disable=SC2046
g++ examples/roundtrip.cpp $(pkg-config --cflags --libs vormi) -o "$work/pkgconfig-roundtrip"
"$work/pkgconfig-roundtrip" "${consumer_args[@]}"

step "consumer through add_subdirectory, beside targets named platform, codec, zkfile and bench"
cmake -S examples/embed -B "$work/embed" "${generator[@]}" >/dev/null
cmake --build "$work/embed" >/dev/null
ctest --test-dir "$work/embed" --output-on-failure
"$work/embed/vormi-roundtrip" "${consumer_args[@]}"

step "shared libraries"
cmake -S . -B "$work/shared" "${generator[@]}" -DBUILD_SHARED_LIBS=ON -DBUILD_TESTING=OFF \
    -DVORMI_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$work/shared" >/dev/null
cmake --install "$work/shared" --prefix "$work/stage-shared" >/dev/null
major=${version%%.*}
for layer in codec platform zkfile; do
    [[ -L $work/stage-shared/lib/libvormi_$layer.so.$major ]] || fail "libvormi_$layer.so.$major is missing"
done
cmake -S examples -B "$work/find-shared" "${generator[@]}" -DCMAKE_PREFIX_PATH="$work/stage-shared" >/dev/null
cmake --build "$work/find-shared" >/dev/null
"$work/find-shared/vormi-roundtrip" "${consumer_args[@]}"
# Read whole before matching: under pipefail, "ldd | grep -q" fails whenever
# grep leaves at its match before ldd has written the rest.
linked=$(ldd "$work/find-shared/vormi-roundtrip")
[[ $linked == *"libvormi_zkfile.so.$major"* ]] || fail "the consumer is not linked to the shared library"

step "Debian package"
(cd "$work/build" && cpack -G DEB >/dev/null)
deb=$(ls "$work"/build/vormi_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/deb-contents.txt"
for f in ./usr/bin/vormi ./usr/share/man/man1/vormi.1 ./usr/bin/vormi-sweep ./usr/share/man/man1/vormi-sweep.1 \
    ./usr/share/doc/vormi/LICENSE ./usr/include/vormi/vormi.h \
    ./usr/lib/libvormi_zkfile.a ./usr/lib/cmake/vormi/vormiConfig.cmake ./usr/lib/pkgconfig/vormi.pc; do
    grep -qx "$f" "$work/deb-contents.txt" || fail "the Debian package lacks $f"
done
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the Debian package has another version"
echo "$(basename "$deb"): $(wc -l <"$work/deb-contents.txt") entries, version $version"

echo
echo "check-package: all good"
