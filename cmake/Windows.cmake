# Windows build (mingw-w64): the program, and under Wine its contract and
# end-to-end tests.
set(VARNOLT_WIN32_LINK -static -static-libgcc -static-libstdc++)

add_library(platform_win32 STATIC
  src/platform/PictureHeader.cpp
  src/platform/win32/Win32Forms.cpp
  src/platform/win32/Win32Picture.cpp
  src/platform/win32/Win32Platform.cpp
)
target_include_directories(platform_win32 PUBLIC src)
target_compile_definitions(platform_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601)
target_compile_options(platform_win32 PRIVATE ${VARNOLT_WARNINGS})
# Only DLLs on the system's KnownDLLs list are imported; winmm and the rest
# are loaded from the system folder when first needed.
target_link_libraries(platform_win32 PUBLIC uuid windowscodecs shell32 shlwapi user32 gdi32 ole32)

add_executable(Varnolt WIN32 src/app/WinMain.cpp src/app/Varnolt.rc)
target_link_libraries(Varnolt PRIVATE varnolt_logic platform_win32)
target_compile_options(Varnolt PRIVATE ${VARNOLT_WARNINGS})
target_link_options(Varnolt PRIVATE ${VARNOLT_WIN32_LINK} -municode)

# Tests run under Wine through a wrapper that sets up its environment.
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

file(GLOB CONTRACT_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*.cpp)
add_executable(contract_win32 ${CONTRACT_TEST_SOURCES} tests/contract/win32/ContractWorld.cpp)
target_include_directories(contract_win32 PRIVATE tests/contract)
target_link_libraries(contract_win32 PRIVATE varnolt_logic platform_win32 gtest_main)
target_compile_options(contract_win32 PRIVATE ${VARNOLT_WARNINGS})
target_link_options(contract_win32 PRIVATE ${VARNOLT_WIN32_LINK})
add_test(NAME contract_win32 COMMAND contract_win32)

include(cmake/SampleDisc.cmake)
include(cmake/Bench.cmake)

# End-to-end: the driver starts the real Varnolt.exe (and the recorder as the
# programs it starts) from its own folder.
add_executable(recorder WIN32 tests/e2e/Recorder.cpp)
target_compile_definitions(recorder PRIVATE UNICODE _UNICODE)
target_compile_options(recorder PRIVATE ${VARNOLT_WARNINGS})
target_link_options(recorder PRIVATE ${VARNOLT_WIN32_LINK} -municode)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS tests/e2e/*E2eTest.cpp)
add_executable(e2e_driver tests/e2e/Harness.cpp ${E2E_TEST_SOURCES})
target_compile_definitions(e2e_driver PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(e2e_driver PRIVATE gtest_main uuid oleacc oleaut32 ole32 version user32 gdi32)
target_compile_options(e2e_driver PRIVATE ${VARNOLT_WARNINGS})
target_link_options(e2e_driver PRIVATE ${VARNOLT_WIN32_LINK})
add_dependencies(e2e_driver Varnolt recorder)
add_test(NAME e2e COMMAND e2e_driver)

# The sounds, heard on a recorded sound card (a PulseAudio pipe sink).
add_executable(sound_driver tests/e2e/SoundDriver.cpp tests/e2e/Harness.cpp)
target_compile_definitions(sound_driver PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_compile_options(sound_driver PRIVATE ${VARNOLT_WARNINGS})
target_link_options(sound_driver PRIVATE ${VARNOLT_WIN32_LINK})
add_dependencies(sound_driver Varnolt)
add_test(NAME sounds COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/sounds-test.sh ${CMAKE_BINARY_DIR})
