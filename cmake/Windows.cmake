# Windows build (mingw-w64): the program, and under Wine its contract and
# end-to-end tests.
set(VARNOLT_WIN32_LINK -static -static-libgcc -static-libstdc++)
# What every Windows target of the project is compiled with: wide-character
# calls, the slim windows.h, no min/max macros, Windows 7's API.
set(VARNOLT_WINDOWS_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The program is read from an optical disc at its first start, where every
# 100 KB is a visible delay: its code is built for size, each function and
# datum in a section of its own so that the link drops what nothing uses;
# without exceptions (it catches none: see src/app/SmallRuntime.cpp), type
# information (it asks for none at run time) or locks around static locals:
# besides the window's thread only the reader threads run (see
# Win32Reader.cpp), and what they run (reading files, decoding texts and
# pictures) has no static locals.
set(VARNOLT_SMALL_CODE -Os -ffunction-sections -fdata-sections
                       -fno-exceptions -fno-rtti -fno-threadsafe-statics)
set(VARNOLT_SMALL_LINK -Wl,--gc-sections)

# Every Windows program goes through here:
#   varnolt_windows_program(TARGET CONSOLE|WIN32|TEST [SMALL] SOURCES...)
# CONSOLE and WIN32 programs start at wmain/wWinMain; a TEST is a console
# program that starts at main (its own or googletest's). SMALL builds it like Varnolt.exe.
# All are linked statically (no DLL beside them) with the project's warnings.
function(varnolt_windows_program target kind)
  cmake_parse_arguments(PARSE_ARGV 2 arg "SMALL" "" "")
  if(kind STREQUAL "WIN32")
    add_executable(${target} WIN32 ${arg_UNPARSED_ARGUMENTS})
  else()
    add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  endif()
  target_compile_definitions(${target} PRIVATE ${VARNOLT_WINDOWS_DEFINITIONS})
  target_compile_options(${target} PRIVATE ${VARNOLT_WARNINGS})
  target_link_options(${target} PRIVATE ${VARNOLT_WIN32_LINK})
  if(NOT kind STREQUAL "TEST")
    target_link_options(${target} PRIVATE -municode)
  endif()
  if(arg_SMALL)
    set_target_properties(${target} PROPERTIES CXX_STANDARD 20)
    target_compile_options(${target} PRIVATE ${VARNOLT_SMALL_CODE})
    target_link_options(${target} PRIVATE ${VARNOLT_SMALL_LINK})
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
endfunction()
target_compile_options(varnolt_logic PRIVATE ${VARNOLT_SMALL_CODE})
# Under C++17 the library's std::string and std::wstring are taken whole from
# libstdc++ (its explicit instantiations, 35 KB each); under C++20 only the
# members the program uses are compiled into it.
set_target_properties(varnolt_logic PROPERTIES CXX_STANDARD 20)

add_library(platform_win32 STATIC
  ${VARNOLT_SHARED_PLATFORM_SOURCES}
  src/platform/win32/Win32Controls.cpp
  src/platform/win32/Win32Dialog.cpp
  src/platform/win32/Win32Events.cpp
  src/platform/win32/Win32Forms.cpp
  src/platform/win32/Win32Geometry.cpp
  src/platform/win32/Win32Picture.cpp
  src/platform/win32/Win32Platform.cpp
  src/platform/win32/Win32Reader.cpp
)
target_include_directories(platform_win32 PUBLIC src)
set_target_properties(platform_win32 PROPERTIES CXX_STANDARD 20)
target_compile_definitions(platform_win32 PUBLIC ${VARNOLT_WINDOWS_DEFINITIONS})
target_compile_options(platform_win32 PRIVATE ${VARNOLT_WARNINGS} ${VARNOLT_SMALL_CODE})
# Only DLLs on the system's KnownDLLs list are imported; winmm and the rest
# are loaded from the system folder when first needed.
target_link_libraries(platform_win32 PUBLIC uuid windowscodecs shell32 shlwapi user32 gdi32 ole32)

varnolt_windows_program(Varnolt WIN32 SMALL src/app/WinMain.cpp src/app/SmallRuntime.cpp
                        src/app/Varnolt.rc)
target_link_libraries(Varnolt PRIVATE varnolt_logic platform_win32)
# The tests run the program with its symbols (a crash names its functions);
# the release is a stripped copy.
add_custom_command(TARGET Varnolt POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
  COMMAND ${CMAKE_STRIP} -o ${CMAKE_BINARY_DIR}/release/Varnolt.exe $<TARGET_FILE:Varnolt>
  VERBATIM)

# The disc check, a console program for disc authors, beside Varnolt.exe.
# It is built small like the program, which it ships beside.
target_compile_options(varnolt_check PRIVATE ${VARNOLT_SMALL_CODE})
set_target_properties(varnolt_check PROPERTIES CXX_STANDARD 20)
varnolt_windows_program(VarnoltCheck CONSOLE SMALL src/check/VarnoltCheck.cpp
                        src/app/SmallRuntime.cpp src/check/VarnoltCheck.rc)
target_link_libraries(VarnoltCheck PRIVATE varnolt_check varnolt_logic platform_win32)

# Tests labelled "wine" run programs under Wine; those labelled "static" only
# read files, and run where Wine cannot run the build.
# Tests run under Wine through a wrapper that sets up its environment.
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

include(cmake/TestPictures.cmake)

# What the Windows tests and benchmarks share: starting programs in a job,
# scratch folders, finding windows and controls.
add_library(testsupport STATIC tests/support/TestSupport.cpp)
target_include_directories(testsupport PUBLIC tests/support tests/common src)
target_compile_definitions(testsupport PUBLIC ${VARNOLT_WINDOWS_DEFINITIONS})
target_compile_options(testsupport PRIVATE ${VARNOLT_WARNINGS})

# The end-to-end driver's tools over it: disc folders, the real Varnolt.exe
# started on them and read from outside as a user and a screen reader would.
add_library(e2e_harness STATIC tests/e2e/Harness.cpp)
# uuid before oleacc: the GUIDs come from uuid, not as imports from oleacc.
target_link_libraries(e2e_harness PUBLIC testsupport uuid oleacc oleaut32 ole32 user32 gdi32)
target_compile_options(e2e_harness PRIVATE ${VARNOLT_WARNINGS})

file(GLOB CONTRACT_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*.cpp)
varnolt_windows_program(contract_win32 TEST ${CONTRACT_TEST_SOURCES}
                        tests/contract/win32/ContractWorld.cpp
                        tests/contract/win32/SoundFlagsTest.cpp)
target_include_directories(contract_win32 PRIVATE tests/contract)
target_link_libraries(contract_win32 PRIVATE varnolt_logic platform_win32 testsupport gtest_main)
uses_test_pictures(contract_win32)
add_test(NAME contract_win32 COMMAND contract_win32)
set_tests_properties(contract_win32 PROPERTIES LABELS wine)

# What needs no running: imports, version resource and manifest of the
# programs as released, and their sizes.
add_test(NAME programs
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check-programs.sh ${PROJECT_VERSION}
                 ${VARNOLT_VERSION_RESOURCE_TEXT} $<TARGET_FILE:Varnolt> $<TARGET_FILE:VarnoltCheck>)
set_tests_properties(programs PROPERTIES LABELS static)

include(cmake/SampleDisc.cmake)
# The release is the 32-bit program: its build makes the package.
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND VARNOLT_SAMPLE_DISC)
  include(cmake/Package.cmake)
endif()
include(cmake/Bench.cmake)

# End-to-end: the driver starts the real Varnolt.exe (and the recorder as the
# programs it starts) from its own folder.
varnolt_windows_program(recorder WIN32 tests/e2e/Recorder.cpp)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS tests/e2e/*E2eTest.cpp)
varnolt_windows_program(e2e_driver TEST ${E2E_TEST_SOURCES})
target_link_libraries(e2e_driver PRIVATE e2e_harness gtest_main)
uses_test_pictures(e2e_driver)
add_dependencies(e2e_driver Varnolt VarnoltCheck recorder)
add_test(NAME e2e COMMAND e2e_driver)
set_tests_properties(e2e PROPERTIES LABELS wine)

# The sounds, heard on a recorded sound card (a PulseAudio pipe sink).
varnolt_windows_program(sound_driver TEST tests/e2e/SoundDriver.cpp)
target_link_libraries(sound_driver PRIVATE e2e_harness)
add_dependencies(sound_driver Varnolt)
add_test(NAME sounds COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/sounds-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(sounds PROPERTIES LABELS wine)
# How the recordings are heard, on recordings made of tones and silences:
# the same for every build, so tested with the 64-bit one.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_test(NAME heard COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/heard-test.sh)
  set_tests_properties(heard PROPERTIES LABELS static)
endif()
