# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads) and runs the
# resulting .exe files (tests, try_run) under Wine. Used to build Qt itself (scripts/windows-qt)
# and the project:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH=<qt install> ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_tarvok_triple x86_64-w64-mingw32)
# The posix flavour, since the win32 one lacks std::thread and std::mutex.
set(CMAKE_C_COMPILER ${_tarvok_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_tarvok_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_tarvok_triple}-windres)
set(CMAKE_AR ${_tarvok_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_tarvok_triple}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and packages come only from the MinGW tree or the prefixes given, never from the
# Linux host, whose Qt and libraries would otherwise be found first. The prefixes (-D or
# environment) join the root list because ONLY mode would look for them under
# /usr/x86_64-w64-mingw32.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_tarvok_triple})
set(_tarvok_prefixes ${CMAKE_PREFIX_PATH})
if(DEFINED ENV{CMAKE_PREFIX_PATH})
    string(REPLACE ":" ";" _tarvok_env_prefixes "$ENV{CMAKE_PREFIX_PATH}")
    list(APPEND _tarvok_prefixes ${_tarvok_env_prefixes})
endif()
foreach(_tarvok_prefix IN LISTS _tarvok_prefixes)
    list(PREPEND CMAKE_FIND_ROOT_PATH "${_tarvok_prefix}")
endforeach()
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into each .exe, so that it runs without MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# ctest and try_run start the .exe files under Wine, through the wrapper that sets Wine up for
# unattended runs and lets the tests' QT_* variables through.
get_filename_component(_tarvok_wine_run "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tarvok_wine_run}")
