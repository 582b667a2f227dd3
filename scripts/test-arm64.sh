#!/usr/bin/env bash
# Cross-builds for 64-bit Arm (arm64) and runs every test there through qemu-user:
#   scripts/test-arm64.sh
# Installs what is missing: the build machine's own packages (scripts/install-deps.sh, whose
# Qt gives the code generators moc, rcc and uic), the arm64 architecture for dpkg, the cross
# compiler, the :arm64 libraries, and qemu-user with its binfmt entry, so that the programs the
# tests start run too. It refuses to install anything whose installation would remove a
# package. The build goes to build-arm64/ (or the folder given as $BUILD_DIR); the benchmarks
# are left out of it.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-arm64}

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

scripts/install-deps.sh

packages=(
  g++-aarch64-linux-gnu qemu-user qemu-user-binfmt
  qt6-base-dev:arm64 libturbojpeg0-dev:arm64 libjpeg62-turbo-dev:arm64 libpng-dev:arm64
  libgif-dev:arm64 libhwy-dev:arm64 libgtest-dev:arm64
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx arm64 || "${sudo[@]}" dpkg --add-architecture arm64
  "${sudo[@]}" apt-get update -qq
  # The :arm64 libraries must be the same versions as the installed amd64 ones; where they
  # cannot be, apt would remove the amd64 ones instead, Qt's code generators among them.
  removed=$(apt-get -s install --no-install-recommends "${missing[@]}" | sed -n 's/^Remv //p')
  if [ -n "$removed" ]; then
    printf 'test-arm64.sh: installing %s would remove:\n%s\n' "${missing[*]}" "$removed" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The binfmt entry lets the kernel start arm64 programs through qemu-aarch64; without systemd
# nothing registers it at start-up.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/qemu-aarch64" ]; then
  [ -e "$binfmt/register" ] || "${sudo[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
  grep -v '^#' /usr/lib/binfmt.d/qemu-aarch64.conf | "${sudo[@]}" tee "$binfmt/register" >/dev/null
fi

mkdir -p "$build_dir"
shim=$(realpath "$build_dir")/qemu-without-pidfd.so
aarch64-linux-gnu-gcc -std=c11 -Wall -Wextra -Wpedantic -Werror -O2 -shared -fPIC \
  scripts/qemu-without-pidfd.c -o "$shim" -ldl

werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTELLE_WERROR="$werror" \
  -DVANTELLE_BENCHMARKS=OFF -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/arm64-toolchain.cmake" \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=qemu-aarch64;-E;LD_PRELOAD=$shim"
cmake --build "$build_dir"
export QT_QPA_PLATFORM=offscreen
# All but one: ldd lists the build machine's programs only, and what vantelle-blend links is
# the same for every processor.
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" -E '^vantelle_blend_loads_qt_core_alone$'
