# The benchmarks: Win32 console programs, run by tools/run-bench.sh.
# They print figures and are no tests.

# What the measuring programs share: scratch discs, the clock and the
# figures of a series, their arguments, starting a program in a job (from the
# test-support library), waiting for its window, talking to it and closing it.
add_library(bench_support STATIC bench/BenchDisc.cpp bench/BenchProcess.cpp)
target_link_libraries(bench_support PUBLIC testsupport)
target_compile_options(bench_support PRIVATE ${VARNOLT_WARNINGS})

# The floor: a program that shows just an empty window like Varnolt's.
varnolt_windows_program(EmptyWindow WIN32 bench/EmptyWindow.cpp)
target_link_libraries(EmptyWindow PRIVATE user32 gdi32)
target_include_directories(EmptyWindow PRIVATE ${CMAKE_SOURCE_DIR}/src)

# The second floor: Varnolt's own window made by Varnolt's own platform code,
# with its manifest and icon, built like Varnolt.exe, and no logic.
varnolt_windows_program(SameWindow WIN32 SMALL bench/SameWindow.cpp src/app/SmallRuntime.cpp
                        src/app/Varnolt.rc)
target_link_libraries(SameWindow PRIVATE varnolt_logic platform_win32)

# Start-up time of Varnolt on discs of 10 to 10,000 games, next to the floors.
varnolt_windows_program(StartupBench CONSOLE bench/StartupBench.cpp)
target_link_libraries(StartupBench PRIVATE bench_support user32 gdi32)

# The simple way of showing a game's details, which Varnolt's selection is
# compared with: the whole picture decoded, shrunk when painted.
varnolt_windows_program(SimpleSelection WIN32 bench/SimpleSelection.cpp)
target_link_libraries(SimpleSelection PRIVATE windowscodecs ole32 user32 gdi32)
target_include_directories(SimpleSelection PRIVATE ${CMAKE_SOURCE_DIR}/src)

# Time and memory from choosing a game to its description and screenshot
# shown, for screenshots of 0.3, 2 and 24 MP, next to the simple way.
varnolt_windows_program(SelectionBench CONSOLE bench/SelectionBench.cpp)
target_link_libraries(SelectionBench PRIVATE bench_support psapi user32 gdi32)

# Processor time while Varnolt waits, with and without its help window.
varnolt_windows_program(IdleCpuBench CONSOLE bench/IdleCpuBench.cpp)
target_link_libraries(IdleCpuBench PRIVATE bench_support user32)

# How long the window stops answering when it shows a long description or
# read-me: long lines, every kind of line end, up to 1 MiB.
varnolt_windows_program(TextBench CONSOLE bench/TextBench.cpp)
target_link_libraries(TextBench PRIVATE bench_support user32)

# The disc check's time and memory on the sample disc and on discs of many
# games.
varnolt_windows_program(CheckBench CONSOLE bench/CheckBench.cpp)
target_link_libraries(CheckBench PRIVATE bench_support psapi)

# Moving through 200 games on a slow drive (bench/SlowDrive.c, preloaded into
# Wine by tools/run-bench.sh): the window's answers, what is read, F1.
varnolt_windows_program(SlowDiscBench CONSOLE bench/SlowDiscBench.cpp)
target_link_libraries(SlowDiscBench PRIVATE bench_support user32)

# The window's answers and the process's memory while the largest pictures
# Varnolt accepts decode, one of each format and depth.
varnolt_windows_program(PictureBench CONSOLE bench/PictureBench.cpp)
target_link_libraries(PictureBench PRIVATE bench_support psapi user32)
