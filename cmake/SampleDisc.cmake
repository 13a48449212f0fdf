# The sample disc that ships with the program, assembled next to Varnolt.exe.
#
# ${CMAKE_BINARY_DIR}/disc/ is laid out as a real games disc: Varnolt.exe,
# autorun.ini, read.me.txt, autorun\ (sounds, the disc's own description and
# picture) and games\<game>\ (description, screenshot, installer). The texts
# are kept in disc/ as UTF-8 and written in the disc's encodings with CR LF;
# sounds and pictures are generated; every game's installer is the harmless
# SampleInstaller, which only says what it would do.

find_program(VARNOLT_SOX sox)
# make-text.sh writes the texts with iconv.
find_program(VARNOLT_ICONV iconv)
# ImageMagick's own convert, never a wrapper of the same name earlier on PATH.
find_program(VARNOLT_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH)
find_program(VARNOLT_BASH bash REQUIRED)

# Without them the programs and their tests are built all the same; the
# sample disc, and the release package made from its files, are not.
set(VARNOLT_SAMPLE_DISC ON)
foreach(_tool IN ITEMS SOX ICONV CONVERT)
  if(NOT VARNOLT_${_tool})
    set(VARNOLT_SAMPLE_DISC OFF)
  endif()
endforeach()
if(NOT VARNOLT_SAMPLE_DISC)
  message(WARNING "No sample disc and no release package: sox, iconv and ImageMagick's convert "
                  "make them, and one is missing (bash tools/setup.sh installs them).")
  return()
endif()

set(SAMPLE_DISC_SOURCE ${CMAKE_SOURCE_DIR}/disc)
set(SAMPLE_DISC_DIR ${CMAKE_BINARY_DIR}/disc)
set(SAMPLE_DISC_OUTPUTS "")

# How the build names a file of the disc while making it.
function(sample_disc_comment target out)
  file(RELATIVE_PATH relative ${SAMPLE_DISC_DIR} ${target})
  set(${out} "Sample disc: ${relative}" PARENT_SCOPE)
endfunction()

# The installer every sample game carries.
# It is built small like Varnolt.exe (see Windows.cmake).
varnolt_windows_program(sample_installer WIN32 SMALL disc/installer/SampleInstaller.cpp
                        src/app/SmallRuntime.cpp)
set_target_properties(sample_installer PROPERTIES OUTPUT_NAME SampleInstaller)
target_include_directories(sample_installer PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_options(sample_installer PRIVATE -s)

# One file of the disc: TARGET made by COMMAND once its folder is there, made
# again when what DEPENDS names changes; it joins SAMPLE_DISC_OUTPUTS of the
# function that uses this.
macro(sample_disc_file target)
  cmake_parse_arguments(_file "" "" "DEPENDS;COMMAND" ${ARGN})
  sample_disc_comment(${target} _comment)
  get_filename_component(_folder ${target} DIRECTORY)
  add_custom_command(
    OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_folder}
    COMMAND ${_file_COMMAND}
    DEPENDS ${_file_DEPENDS}
    COMMENT "${_comment}"
    VERBATIM)
  set(SAMPLE_DISC_OUTPUTS ${SAMPLE_DISC_OUTPUTS} ${target} PARENT_SCOPE)
endmacro()

# A text file of the disc from its UTF-8 source; ENCODING is cp1251 or utf8
# (UTF-8 with a byte-order mark).
function(sample_disc_text encoding source target)
  sample_disc_file(${target}
    COMMAND ${VARNOLT_BASH} ${SAMPLE_DISC_SOURCE}/make-text.sh ${encoding} ${source} ${target}
    DEPENDS ${source} ${SAMPLE_DISC_SOURCE}/make-text.sh)
endfunction()

# A short mono PCM sound in autorun\, made by sox from the synth effects given
# (-R: the same file every time).
function(sample_disc_sound name)
  set(target ${SAMPLE_DISC_DIR}/autorun/${name}.wav)
  sample_disc_file(${target}
    COMMAND ${VARNOLT_SOX} -R -n -r 22050 -b 16 -c 1 ${target} ${ARGN}
    DEPENDS ${CMAKE_CURRENT_LIST_FILE})
endfunction()

# A 640x480 JPEG with the title drawn on a dark band across the background
# that the remaining arguments make (ImageMagick arguments giving 640x480).
function(sample_disc_picture target title)
  sample_disc_file(${target}
    COMMAND ${VARNOLT_CONVERT} ${ARGN}
            -fill "#00000070" -draw "rectangle 0,180 639,299"
            -gravity center -fill white -stroke "#00000080" -strokewidth 2
            -font DejaVu-Sans-Bold -pointsize 44 -annotate +0-16 ${title}
            -stroke none -font DejaVu-Sans -pointsize 20 -annotate +0+40 "Пример диска Varnolt"
            -strip -quality 85 ${target}
    DEPENDS ${CMAKE_CURRENT_LIST_FILE})
endfunction()

# A copy of a file built here, made again when the targets named after it are.
function(sample_disc_copy built target)
  sample_disc_file(${target} COMMAND ${CMAKE_COMMAND} -E copy ${built} ${target} DEPENDS ${ARGN})
endfunction()

# The disc's own files, from the UTF-8 sources in SOURCE: the control file,
# the read-me and the disc's description in cp1251, autorun.inf (what the
# system starts when the disc is inserted) in INF_ENCODING, and the disc's
# picture.
function(sample_disc_root source inf_encoding)
  sample_disc_text(cp1251 ${source}/autorun.ini ${SAMPLE_DISC_DIR}/autorun.ini)
  sample_disc_text(${inf_encoding} ${source}/autorun.inf ${SAMPLE_DISC_DIR}/autorun.inf)
  sample_disc_text(cp1251 ${source}/read.me.txt ${SAMPLE_DISC_DIR}/read.me.txt)
  sample_disc_text(cp1251 ${source}/autorun/descript.ion ${SAMPLE_DISC_DIR}/autorun/descript.ion)
  sample_disc_picture(${SAMPLE_DISC_DIR}/autorun/screenshot.jpg "Игры на слух"
                      -size 640x480 "radial-gradient:#f4d35e-#0b3954")
  set(SAMPLE_DISC_OUTPUTS ${SAMPLE_DISC_OUTPUTS} PARENT_SCOPE)
endfunction()

# One game: games\<name>\ with its description (from disc/games/<name>/),
# its screenshot and the sample installer under the given file name.
function(sample_disc_game name encoding installer)
  set(folder ${SAMPLE_DISC_DIR}/games/${name})
  sample_disc_text(${encoding} ${SAMPLE_DISC_SOURCE}/games/${name}/descript.ion
                   ${folder}/descript.ion)
  sample_disc_picture(${folder}/screenshot.jpg ${name} ${ARGN})
  sample_disc_copy($<TARGET_FILE:sample_installer> ${folder}/${installer} sample_installer)
  set(SAMPLE_DISC_OUTPUTS ${SAMPLE_DISC_OUTPUTS} PARENT_SCOPE)
endfunction()

# Removes at configure time what is in SAMPLE_DISC_DIR but not among
# SAMPLE_DISC_OUTPUTS, and the folders left empty.
function(sample_disc_prune)
  file(GLOB_RECURSE present LIST_DIRECTORIES false ${SAMPLE_DISC_DIR}/*)
  foreach(file IN LISTS present)
    if(NOT file IN_LIST SAMPLE_DISC_OUTPUTS)
      file(REMOVE ${file})
    endif()
  endforeach()
  file(GLOB_RECURSE folders LIST_DIRECTORIES true ${SAMPLE_DISC_DIR}/*)
  foreach(folder IN LISTS folders)
    if(IS_DIRECTORY ${folder})
      file(GLOB_RECURSE inside ${folder}/*)
      if(NOT inside)
        file(REMOVE_RECURSE ${folder})
      endif()
    endif()
  endforeach()
endfunction()

# The program and the disc's own files.
sample_disc_copy($<TARGET_FILE:Varnolt> ${SAMPLE_DISC_DIR}/Varnolt.exe Varnolt)
# What the system starts when the disc is inserted is ASCII here.
sample_disc_root(${SAMPLE_DISC_SOURCE} cp1251)

# Sounds: a tick when a game is launched, a blip when a description is shown,
# a rising chime at start-up and a falling, longer one at closing.
sample_disc_sound(click synth 0.04 square 1760 fade q 0.002 0.04 0.03 vol 0.4)
sample_disc_sound(load synth 0.18 sine 880 fade q 0.01 0.18 0.12 vol 0.6)
sample_disc_sound(start synth 0.5 pluck 523.25 pluck 659.25 pluck 783.99 delay 0 0.08 0.16
                  remix - fade 0 0.5 0.15 norm -3)
sample_disc_sound(stop synth 0.8 pluck 392 pluck 329.63 pluck 261.63 delay 0 0.15 0.3
                  remix - fade 0 0.8 0.3 norm -3)

# The games. Explorer lists "Racer 2" before "Racer 10" and Latin names
# before Cyrillic ones; one description is UTF-8, one installer is not
# called setup.exe.
sample_disc_game("Racer 2" cp1251 setup.exe
                 -size 640x480 -define gradient:angle=135 "gradient:#3a0d0d-#e07a2b")
sample_disc_game("Racer 10" cp1251 setup.exe
                 -size 640x480 -define gradient:angle=45 "gradient:#1b1b3a-#c2185b")
sample_disc_game("Sea Battle" utf8 setup.exe -size 640x480 "gradient:#5fa8d3-#0b2545")
sample_disc_game("Звуковой лабиринт" cp1251 setup.exe
                 -size 640x480 "radial-gradient:#6a994e-#102a12")
sample_disc_game("Шахматы" cp1251 install.exe
                 -size 160x120 pattern:checkerboard -scale 400% -auto-level
                 +level-colors "#2b1d10,#d8b27a")

add_custom_target(sample_disc ALL DEPENDS ${SAMPLE_DISC_OUTPUTS})

# Files left from an earlier layout (a game renamed or dropped) would show up
# on the disc: whatever the rules above do not make goes at configure time.
sample_disc_prune()

# The assembled disc checked against its sources: encodings, line ends,
# sounds, pictures, installers.
add_test(NAME sample_disc
         COMMAND ${VARNOLT_BASH} ${SAMPLE_DISC_SOURCE}/check-disc.sh ${SAMPLE_DISC_DIR}
                 ${SAMPLE_DISC_SOURCE})
set_tests_properties(sample_disc PROPERTIES LABELS static)
