# Cross-compiles for 64-bit Arm with Debian's cross compiler and the :arm64 packages of a
# multiarch install (scripts/test-arm64.sh installs both); the tests run through qemu-user.
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=scripts/arm64-toolchain.cmake ...
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Libraries, headers and package files from /usr/lib/aarch64-linux-gnu, never the build
# machine's own.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
# Qt's code generators (moc, rcc, uic) run on the build machine: those of its own Qt.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake)
# Test programs, and the listing of the tests in them, run through the emulator (or the
# command given as -DCMAKE_CROSSCOMPILING_EMULATOR=...).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 CACHE STRING "Runs the arm64 programs")
