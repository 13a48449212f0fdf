# The release package, made from the 32-bit build (the program every Windows
# runs): Varnolt-<major.minor.revision>.zip, made by `cpack` in the build folder
# (or tools/make-package.sh). It holds
#
#   Varnolt-<version>/guide.txt   the guide for disc authors (Russian, UTF-8)
#   Varnolt-<version>/VarnoltCheck.exe  the disc check, beside the guide
#   Varnolt-<version>/disc/       a disc template, copied to the root of a disc:
#     Varnolt.exe, autorun.inf, autorun.ini, read.me.txt,
#     autorun\ (the four sounds, the disc's description and picture),
#     games\Sample Game\ (description, screenshot, a harmless installer)
#
# The texts are kept in package/ as UTF-8 and written in the disc's encodings
# like the sample disc's; the sounds are the sample disc's, made by sox.

set(VARNOLT_PACKAGE_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
set(PACKAGE_SOURCE ${CMAKE_SOURCE_DIR}/package)
set(PACKAGE_DISC_DIR ${CMAKE_BINARY_DIR}/package-disc)

# The programs the package carries, each as TARGET:FOLDER (a folder of the
# package: "disc" for the disc template, "." beside the guide). Each is
# stripped. The disc check is for the author, not the players: it lies beside
# the guide, so that copying disc\ to a disc does not burn it too.
set(VARNOLT_PACKAGE_PROGRAMS Varnolt:disc VarnoltCheck:.)

# The disc template's files, made by the sample disc's rules into a folder of
# their own.
set(_sample_disc_outputs ${SAMPLE_DISC_OUTPUTS})
set(_sample_disc_dir ${SAMPLE_DISC_DIR})
set(SAMPLE_DISC_OUTPUTS "")
set(SAMPLE_DISC_DIR ${PACKAGE_DISC_DIR})

# Windows reads a UTF-16 autorun.inf whatever its language, and so the label.
sample_disc_root(${PACKAGE_SOURCE} utf16)
foreach(sound IN ITEMS click load start stop)
  sample_disc_copy(${_sample_disc_dir}/autorun/${sound}.wav
                   ${PACKAGE_DISC_DIR}/autorun/${sound}.wav ${_sample_disc_dir}/autorun/${sound}.wav)
endforeach()
set(_game "${PACKAGE_DISC_DIR}/games/Sample Game")
sample_disc_text(cp1251 "${PACKAGE_SOURCE}/games/Sample Game/descript.ion" "${_game}/descript.ion")
sample_disc_picture("${_game}/screenshot.jpg" "Sample Game"
                    -size 640x480 -define gradient:angle=135 "gradient:#14532d-#a3e635")
sample_disc_copy($<TARGET_FILE:sample_installer> "${_game}/setup.exe" sample_installer)
sample_disc_text(utf8 ${PACKAGE_SOURCE}/guide.txt ${CMAKE_BINARY_DIR}/package-guide/guide.txt)

add_custom_target(package_disc ALL DEPENDS ${SAMPLE_DISC_OUTPUTS})
# What the rules above no longer make (a file renamed or dropped) would be
# packed: it goes at configure time.
sample_disc_prune()
set(SAMPLE_DISC_OUTPUTS ${_sample_disc_outputs})
set(SAMPLE_DISC_DIR ${_sample_disc_dir})

foreach(entry IN LISTS VARNOLT_PACKAGE_PROGRAMS)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 folder)
  install(TARGETS ${program} RUNTIME DESTINATION ${folder})
endforeach()
install(DIRECTORY ${PACKAGE_DISC_DIR}/ DESTINATION disc)
install(FILES ${CMAKE_BINARY_DIR}/package-guide/guide.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Varnolt)
set(CPACK_PACKAGE_VERSION ${VARNOLT_PACKAGE_VERSION})
set(CPACK_PACKAGE_FILE_NAME Varnolt-${VARNOLT_PACKAGE_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The package as a disc author gets it: unpacked into a fresh folder, it
# holds the template and the guide; there its Varnolt.exe starts under Wine
# and shows the example game.
add_test(NAME package_contents
         COMMAND ${VARNOLT_BASH} ${CMAKE_SOURCE_DIR}/tests/package/package-contents.sh ${CMAKE_BINARY_DIR}
                 ${VARNOLT_PACKAGE_VERSION})
set_tests_properties(package_contents PROPERTIES LABELS static FIXTURES_SETUP unpacked_package)
varnolt_windows_program(package_check CONSOLE tests/package/PackageCheck.cpp)
target_link_libraries(package_check PRIVATE e2e_harness)
add_test(NAME package
         COMMAND ${VARNOLT_BASH} ${CMAKE_SOURCE_DIR}/tests/package/package-test.sh ${CMAKE_BINARY_DIR}
                 ${VARNOLT_PACKAGE_VERSION})
set_tests_properties(package PROPERTIES LABELS wine FIXTURES_REQUIRED unpacked_package)
