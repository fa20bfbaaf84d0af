# Included by the top CMakeLists.txt when emcmake configures: the pure
# libraries exactly as the desktop builds them, without the figures (libpng
# and giflib have no port here: the page's canvas makes the PNG).
add_library(fourview_state STATIC ${PROJECT_SOURCE_DIR}/src/app/app_state.cpp)
target_include_directories(fourview_state PUBLIC ${PROJECT_SOURCE_DIR}/src)
add_subdirectory(src/expr)
add_subdirectory(src/geom4)
add_subdirectory(src/draw)
add_subdirectory(src/models)
add_subdirectory(src/export)
add_subdirectory(src/web)
enable_testing()
add_subdirectory(tests/wasm)
