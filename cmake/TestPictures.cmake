# Small pictures for the tests, made by ImageMagick when the tests are built
# and handed to them as a header, TestPictureFiles.h.
find_program(VARNOLT_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

set(TEST_PICTURES_DIR ${CMAKE_BINARY_DIR}/generated)
set(TEST_PICTURES_SCRIPT ${CMAKE_SOURCE_DIR}/tests/common/make-test-pictures.cmake)
add_custom_command(
  OUTPUT ${TEST_PICTURES_DIR}/TestPictureFiles.h
  COMMAND ${CMAKE_COMMAND} -DCONVERT=${VARNOLT_CONVERT} -DOUT=${TEST_PICTURES_DIR}/TestPictureFiles.h
          -P ${TEST_PICTURES_SCRIPT}
  DEPENDS ${TEST_PICTURES_SCRIPT}
  COMMENT "Test pictures"
  VERBATIM)
add_custom_target(test_pictures DEPENDS ${TEST_PICTURES_DIR}/TestPictureFiles.h)

# A test program that includes TestPictureFiles.h.
function(uses_test_pictures target)
  add_dependencies(${target} test_pictures)
  target_include_directories(${target} PRIVATE ${TEST_PICTURES_DIR})
endfunction()
