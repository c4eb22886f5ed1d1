# Cross build for 64-bit Windows with mingw-w64. Its tests run under wine64
# on machines that cannot run 32-bit programs, and it gives 64-bit programs
# for users on 64-bit Windows.
set(QH_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
