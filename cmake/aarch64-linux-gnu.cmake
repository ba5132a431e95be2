# Cross-build for 64-bit ARM Linux (arm64: Raspberry Pi 3 and later with a
# 64-bit system) with Debian's cross compiler and the arm64 libraries installed
# beside the native ones (multiarch). The programs run here under qemu's
# user-mode emulator: build steps that run a built program (the icons) and ctest go
# through it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "")
# -L /: the target's loader and libraries are the multiarch ones under /.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /)
