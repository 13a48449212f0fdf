# The benchmarks: Win32 console programs, run by tools/run-bench.sh.
# They print figures and are no tests; only their helpers are.

# What the benchmarks need besides measuring: scratch discs, test pictures,
# finding the programs' windows, and the figures of a series; and what the
# measuring programs share: starting a program in a job, waiting for its
# window, talking to it and closing it.
add_library(bench_disc STATIC bench/BenchDisc.cpp bench/BenchProcess.cpp)
target_compile_definitions(bench_disc PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601)
target_compile_options(bench_disc PRIVATE ${VARNOLT_WARNINGS})

# The floor: a program that shows just an empty window like Varnolt's.
add_executable(EmptyWindow WIN32 bench/EmptyWindow.cpp)
target_compile_definitions(EmptyWindow PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(EmptyWindow PRIVATE ${VARNOLT_WARNINGS})
target_link_options(EmptyWindow PRIVATE ${VARNOLT_WIN32_LINK} -municode)
target_link_libraries(EmptyWindow PRIVATE user32 gdi32)

# The second floor: Varnolt's own window made by Varnolt's own platform code,
# with its manifest and icon, built like Varnolt.exe, and no logic.
add_executable(SameWindow WIN32 bench/SameWindow.cpp src/app/SmallRuntime.cpp src/app/Varnolt.rc)
set_target_properties(SameWindow PROPERTIES CXX_STANDARD 20)
target_include_directories(SameWindow PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(SameWindow PRIVATE varnolt_logic platform_win32)
target_compile_options(SameWindow PRIVATE ${VARNOLT_WARNINGS} ${VARNOLT_SMALL_CODE})
target_link_options(SameWindow PRIVATE ${VARNOLT_WIN32_LINK} ${VARNOLT_SMALL_LINK} -municode)

# Start-up time of Varnolt on discs of 10 to 10,000 games, next to the floors.
add_executable(StartupBench bench/StartupBench.cpp)
target_link_libraries(StartupBench PRIVATE bench_disc user32 gdi32)
target_compile_options(StartupBench PRIVATE ${VARNOLT_WARNINGS})
target_link_options(StartupBench PRIVATE ${VARNOLT_WIN32_LINK} -municode)

# The simple way of showing a game's details, which Varnolt's selection is
# compared with: the whole picture decoded, shrunk when painted.
add_executable(SimpleSelection WIN32 bench/SimpleSelection.cpp)
target_compile_definitions(SimpleSelection PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(SimpleSelection PRIVATE ${VARNOLT_WARNINGS})
target_link_options(SimpleSelection PRIVATE ${VARNOLT_WIN32_LINK} -municode)
target_link_libraries(SimpleSelection PRIVATE windowscodecs ole32 user32 gdi32)

# Time and memory from choosing a game to its description and screenshot
# shown, for screenshots of 0.3, 2 and 24 MP, next to the simple way.
add_executable(SelectionBench bench/SelectionBench.cpp)
target_link_libraries(SelectionBench PRIVATE bench_disc windowscodecs ole32 oleaut32 psapi user32
                      gdi32)
target_compile_options(SelectionBench PRIVATE ${VARNOLT_WARNINGS})
target_link_options(SelectionBench PRIVATE ${VARNOLT_WIN32_LINK} -municode)

# Processor time while Varnolt waits, with and without its help window.
add_executable(IdleCpuBench bench/IdleCpuBench.cpp)
target_link_libraries(IdleCpuBench PRIVATE bench_disc user32)
target_compile_options(IdleCpuBench PRIVATE ${VARNOLT_WARNINGS})
target_link_options(IdleCpuBench PRIVATE ${VARNOLT_WIN32_LINK} -municode)

# How long the window stops answering when it shows a long description or
# read-me: long lines, every kind of line end, up to 1 MiB.
add_executable(TextBench bench/TextBench.cpp)
target_link_libraries(TextBench PRIVATE bench_disc user32)
target_compile_options(TextBench PRIVATE ${VARNOLT_WARNINGS})
target_link_options(TextBench PRIVATE ${VARNOLT_WIN32_LINK} -municode)

# The discs, figures and program handling above checked on their own, under
# Wine like the other Windows tests; the program handling on EmptyWindow.
add_executable(bench_disc_tests bench/BenchDiscTest.cpp bench/BenchProcessTest.cpp)
target_link_libraries(bench_disc_tests PRIVATE bench_disc gtest_main)
add_dependencies(bench_disc_tests EmptyWindow)
target_compile_options(bench_disc_tests PRIVATE ${VARNOLT_WARNINGS})
target_link_options(bench_disc_tests PRIVATE ${VARNOLT_WIN32_LINK})
add_test(NAME bench_disc COMMAND bench_disc_tests)

# The disc check's time and memory on the sample disc and on discs of many
# games.
add_executable(CheckBench bench/CheckBench.cpp)
target_link_libraries(CheckBench PRIVATE bench_disc psapi)
target_compile_options(CheckBench PRIVATE ${VARNOLT_WARNINGS})
target_link_options(CheckBench PRIVATE ${VARNOLT_WIN32_LINK} -municode)
