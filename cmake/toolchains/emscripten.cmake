# WebAssembly for the browser with Debian 12's Emscripten (package
# emscripten, 3.1.6). Its prebuilt library cache (libc, libc++, the GL
# emulation) is part of the package: EM_CACHE must not point elsewhere, or
# emcc would try to rebuild it. The programs run on this machine under Node.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# emcc's JavaScript optimiser needs Debian's acorn, which Node finds only
# through NODE_PATH: set for configure-time checks here, and for every
# compile and link through the launchers.
set(bilijar_node_path /usr/share/nodejs)
set(ENV{NODE_PATH} ${bilijar_node_path})
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=${bilijar_node_path})
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${bilijar_node_path})

# Node 20's fetch makes Emscripten 3.1.6's loader take the browser's path
# for the .wasm file, which fails on a file path.
find_program(BILIJAR_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${BILIJAR_NODE} --no-experimental-fetch CACHE STRING
  "Runs the target's programs on this machine" FORCE)
