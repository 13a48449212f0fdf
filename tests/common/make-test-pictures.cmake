# Writes TestPictureFiles.h: small pictures made by ImageMagick, as C++
# strings, for the tests of what shows and how.
# Run as: cmake -DCONVERT=... -DOUT=... -P make-test-pictures.cmake
cmake_minimum_required(VERSION 3.25)

# The same bytes every run: no dates or other metadata in the files.
set(plain -strip -define png:exclude-chunks=date,time)
# 64 x 48 in four quarters: red, lime over blue, yellow. JPEGs keep full
# colour resolution, so the quarters stay clean to their edges.
set(quarters -size 32x24 xc:red xc:lime +append ( xc:blue xc:yellow +append ) -append
    -sampling-factor 1x1 -quality 95)

set(header "// Made by tests/common/make-test-pictures.cmake; do not edit.\n#pragma once\n\n#include <string>\n\nnamespace testpictures {\n")

# picture(Name FORMAT "what it is" convert-arguments...)
function(picture name format description)
  set(file ${OUT}.${name}.${format})  # made beside the header
  execute_process(COMMAND ${CONVERT} ${ARGN} ${plain} ${format}:${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "convert failed to make ${name}")
  endif()
  file(READ ${file} hex HEX)
  file(SIZE ${file} size)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
  string(APPEND header "\n// ${description}\ninline const std::string k${name}(\"${escaped}\", ${size});\n")
  set(header "${header}" PARENT_SCOPE)
endfunction()

picture(RedJpeg JPG "64 x 48, red." -size 64x48 xc:red -quality 90)
picture(BlueJpeg JPG "64 x 48, blue." -size 64x48 xc:blue -quality 90)
picture(GrayJpeg JPG "64 x 48, grey (#505050), one channel."
        -size 64x48 "xc:#505050" -type Grayscale -quality 90)
picture(PalettePng PNG8 "64 x 48, red, with a palette." -size 64x48 xc:red)
picture(Gif GIF "64 x 48, blue." -size 64x48 xc:blue)
picture(DeepPng PNG48 "64 x 48, red, 16 bits a channel." -size 64x48 xc:red -depth 16)
picture(QuartersJpeg JPG "64 x 48 in four quarters: red, lime over blue, yellow." ${quarters})
picture(ProgressiveJpeg JPG "The quarters, progressive: several scans." ${quarters} -interlace JPEG)

string(APPEND header "\n}  // namespace testpictures\n")
# Written only when it changes, so that only a changed header makes the tests
# build again.
file(CONFIGURE OUTPUT ${OUT} CONTENT "${header}" @ONLY)
