# Builds for browsers with Debian's emscripten; the tests run under Node.
# emscripten 3.1.6 loads its .wasm with fetch wherever fetch exists, which
# Node 20 has but cannot aim at a file.
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
# Linking runs emscripten's JavaScript tools on Node, which must find the
# modules Debian packs for them, whichever Node the machine has.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
