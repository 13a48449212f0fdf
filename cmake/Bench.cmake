# The benchmarks: Win32 console programs, run by tools/run-bench.sh.
# They print figures and are no tests.

# The floor: a program that shows just an empty window like Varnolt's.
add_executable(EmptyWindow WIN32 bench/EmptyWindow.cpp)
target_compile_definitions(EmptyWindow PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(EmptyWindow PRIVATE ${VARNOLT_WARNINGS})
target_link_options(EmptyWindow PRIVATE ${VARNOLT_WIN32_LINK} -municode)
target_link_libraries(EmptyWindow PRIVATE user32 gdi32)
