# Windows build (mingw-w64): the program, and under Wine its contract and
# end-to-end tests.
set(VARNOLT_WIN32_LINK -static -static-libgcc -static-libstdc++)

# The program is read from an optical disc at its first start, where every
# 100 KB is a visible delay: its code is built for size, each function and
# datum in a section of its own so that the link drops what nothing uses;
# without exceptions (it catches none: see src/app/SmallRuntime.cpp), type
# information (it asks for none at run time) or locks around static locals
# (its code runs on one thread).
set(VARNOLT_SMALL_CODE -Os -ffunction-sections -fdata-sections
                       -fno-exceptions -fno-rtti -fno-threadsafe-statics)
set(VARNOLT_SMALL_LINK -Wl,--gc-sections)
target_compile_options(varnolt_logic PRIVATE ${VARNOLT_SMALL_CODE})
# Under C++17 the library's std::string and std::wstring are taken whole from
# libstdc++ (its explicit instantiations, 35 KB each); under C++20 only the
# members the program uses are compiled into it.
set_target_properties(varnolt_logic PROPERTIES CXX_STANDARD 20)

add_library(platform_win32 STATIC
  src/platform/shared/FolderOrder.cpp
  src/platform/shared/FormRules.cpp
  src/platform/shared/PictureHeader.cpp
  src/platform/win32/Win32Controls.cpp
  src/platform/win32/Win32Forms.cpp
  src/platform/win32/Win32Picture.cpp
  src/platform/win32/Win32Platform.cpp
)
target_include_directories(platform_win32 PUBLIC src)
set_target_properties(platform_win32 PROPERTIES CXX_STANDARD 20)
target_compile_definitions(platform_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601)
target_compile_options(platform_win32 PRIVATE ${VARNOLT_WARNINGS} ${VARNOLT_SMALL_CODE})
# Only DLLs on the system's KnownDLLs list are imported; winmm and the rest
# are loaded from the system folder when first needed.
target_link_libraries(platform_win32 PUBLIC uuid windowscodecs shell32 shlwapi user32 gdi32 ole32)

# The version comes from the project's: the resource's strings give the minor
# number in two digits and the revision in four ("1.01.0003"), the title and
# the package major.minor.revision ("1.1.3").
set(_minor "0${PROJECT_VERSION_MINOR}")
string(LENGTH "${_minor}" _length)
math(EXPR _from "${_length} - 2")
string(SUBSTRING "${_minor}" ${_from} 2 _minor)
set(_revision "000${PROJECT_VERSION_TWEAK}")
string(LENGTH "${_revision}" _length)
math(EXPR _from "${_length} - 4")
string(SUBSTRING "${_revision}" ${_from} 4 _revision)
set(VARNOLT_VERSION_RESOURCE_TEXT "${PROJECT_VERSION_MAJOR}.${_minor}.${_revision}")
set(VARNOLT_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
configure_file(src/app/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)

add_executable(Varnolt WIN32 src/app/WinMain.cpp src/app/SmallRuntime.cpp src/app/Varnolt.rc)
target_include_directories(Varnolt PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_target_properties(Varnolt PROPERTIES CXX_STANDARD 20)
target_link_libraries(Varnolt PRIVATE varnolt_logic platform_win32)
target_compile_options(Varnolt PRIVATE ${VARNOLT_WARNINGS} ${VARNOLT_SMALL_CODE})
target_link_options(Varnolt PRIVATE ${VARNOLT_WIN32_LINK} ${VARNOLT_SMALL_LINK} -municode)
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
add_executable(VarnoltCheck src/check/VarnoltCheck.cpp src/app/SmallRuntime.cpp
               src/check/VarnoltCheck.rc)
target_include_directories(VarnoltCheck PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_target_properties(VarnoltCheck PROPERTIES CXX_STANDARD 20)
target_link_libraries(VarnoltCheck PRIVATE varnolt_check varnolt_logic platform_win32)
target_compile_options(VarnoltCheck PRIVATE ${VARNOLT_WARNINGS} ${VARNOLT_SMALL_CODE})
target_link_options(VarnoltCheck PRIVATE ${VARNOLT_WIN32_LINK} ${VARNOLT_SMALL_LINK} -municode)

# Tests run under Wine through a wrapper that sets up its environment.
configure_file(cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

include(cmake/TestPictures.cmake)

file(GLOB CONTRACT_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*.cpp)
add_executable(contract_win32 ${CONTRACT_TEST_SOURCES} tests/contract/win32/ContractWorld.cpp)
target_include_directories(contract_win32 PRIVATE tests/contract)
target_link_libraries(contract_win32 PRIVATE varnolt_logic platform_win32 gtest_main)
target_compile_options(contract_win32 PRIVATE ${VARNOLT_WARNINGS})
uses_test_pictures(contract_win32)
target_link_options(contract_win32 PRIVATE ${VARNOLT_WIN32_LINK})
add_test(NAME contract_win32 COMMAND contract_win32)

include(cmake/SampleDisc.cmake)
# The release is the 32-bit program: its build makes the package.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  include(cmake/Package.cmake)
endif()
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
target_include_directories(e2e_driver PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(e2e_driver PRIVATE gtest_main uuid oleacc oleaut32 ole32 version user32 gdi32)
target_compile_options(e2e_driver PRIVATE ${VARNOLT_WARNINGS})
uses_test_pictures(e2e_driver)
target_link_options(e2e_driver PRIVATE ${VARNOLT_WIN32_LINK})
add_dependencies(e2e_driver Varnolt VarnoltCheck recorder)
add_test(NAME e2e COMMAND e2e_driver)

# The sounds, heard on a recorded sound card (a PulseAudio pipe sink).
add_executable(sound_driver tests/e2e/SoundDriver.cpp tests/e2e/Harness.cpp)
target_compile_definitions(sound_driver PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_compile_options(sound_driver PRIVATE ${VARNOLT_WARNINGS})
target_link_options(sound_driver PRIVATE ${VARNOLT_WIN32_LINK})
add_dependencies(sound_driver Varnolt)
add_test(NAME sounds COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/sounds-test.sh ${CMAKE_BINARY_DIR})
