# Shared part of the mingw-w64 cross builds for Windows. The including
# toolchain file sets QH_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32)
# and CMAKE_SYSTEM_PROCESSOR. The posix thread model gives std::thread;
# libgcc and libstdc++ are linked statically so the programs need nothing
# beside themselves.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QH_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Doubles are computed in SSE2 registers, as on x86-64, not in the x87's
# 80-bit ones: the figures of every build then agree to the last bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, in a prefix of the build's own. The prefix
# records its architecture, and the runner picks the matching Wine from it.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix")
