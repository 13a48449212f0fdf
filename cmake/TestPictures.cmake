# The small pictures of tests/common/pictures/, handed to the tests as C++
# strings in a header, TestPictureFiles.h: RedJpeg.jpg as
# testpictures::kRedJpeg, and so on. Written at configure time, again when a
# picture changes, and only where its content changes.
set(TEST_PICTURES_DIR ${CMAKE_BINARY_DIR}/generated)
file(GLOB _pictures ${CMAKE_SOURCE_DIR}/tests/common/pictures/*.jpg
     ${CMAKE_SOURCE_DIR}/tests/common/pictures/*.png ${CMAKE_SOURCE_DIR}/tests/common/pictures/*.gif)
list(SORT _pictures)
set(_header "// Made from tests/common/pictures/ by cmake/TestPictures.cmake; do not edit.\n")
string(APPEND _header "#pragma once\n\n#include <string>\n\nnamespace testpictures {\n\n")
foreach(_picture IN LISTS _pictures)
  get_filename_component(_name ${_picture} NAME_WE)
  file(READ ${_picture} _hex HEX)
  file(SIZE ${_picture} _size)
  string(REGEX REPLACE "(..)" "\\\\x\\1" _escaped "${_hex}")
  string(APPEND _header "inline const std::string k${_name}(\"${_escaped}\", ${_size});\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_picture})
endforeach()
string(APPEND _header "\n}  // namespace testpictures\n")
file(CONFIGURE OUTPUT ${TEST_PICTURES_DIR}/TestPictureFiles.h CONTENT "${_header}" @ONLY)

# A test program that includes TestPictureFiles.h.
function(uses_test_pictures target)
  target_include_directories(${target} PRIVATE ${TEST_PICTURES_DIR})
endfunction()
