# Cross-build for 32-bit ARM Linux (armhf: ARMv7 with hardware floating point,
# Raspberry Pi 2 and later with a 32-bit system; not the ARMv6 Pi Zero and 1)
# with Debian's cross compiler and the armhf libraries installed beside the
# native ones (multiarch). The programs run here under qemu's user-mode
# emulator: build steps that run a built program (the icons) and ctest go through it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(PKG_CONFIG_EXECUTABLE arm-linux-gnueabihf-pkg-config CACHE FILEPATH "")
# -L /: the target's loader and libraries are the multiarch ones under /.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm-static -L /)
