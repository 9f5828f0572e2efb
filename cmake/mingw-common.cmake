# Shared by both mingw-w64 toolchains. Debian's posix-threads variants are used so that
# std::thread and std::mutex are available; the runtime is linked statically so the DLLs
# need nothing but the system's own.
set(CMAKE_C_COMPILER ${TRAMOX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRAMOX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRAMOX_MINGW_TRIPLET}-windres)
set(TRAMOX_WIDL ${TRAMOX_MINGW_TRIPLET}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${TRAMOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
