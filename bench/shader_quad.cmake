# The plug-in is loaded from the build's bin folder, the shader read from the source tree.
add_library(bench_shader_quad_paths INTERFACE)
target_compile_definitions(bench_shader_quad_paths INTERFACE VORTEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                             VORTEL_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
add_dependencies(bench_shader_quad_paths Shaders)
set(BENCH_shader_quad_LIBS scaffold_internals vortel_test_support glsl bench_shader_quad_paths ${CMAKE_DL_LIBS})
