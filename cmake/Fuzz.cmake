# The fuzz targets over the simulation, for the parsers of disc input; their
# seeds are in fuzz/corpus/<target>/. With VARNOLT_FUZZ (clang) each is a
# libFuzzer program, which tools/run-fuzz.sh builds and runs. In the native
# build each is also linked with a plain main that replays its seeds, a test
# of its own: whatever a target checks is checked by every native test run,
# with whichever compiler builds it.
set(VARNOLT_FUZZ_TARGETS text_decode ini_reader folder_order disc_files)
if(VARNOLT_FUZZ)
  add_custom_target(fuzz_targets)
endif()
foreach(name IN LISTS VARNOLT_FUZZ_TARGETS)
  if(VARNOLT_FUZZ)
    add_executable(fuzz_${name} fuzz/${name}_fuzzer.cpp)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets fuzz_${name})
    set(target fuzz_${name})
  else()
    add_executable(replay_${name} fuzz/${name}_fuzzer.cpp fuzz/ReplayMain.cpp)
    add_test(NAME replay_${name} COMMAND replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
    set(target replay_${name})
  endif()
  target_link_libraries(${target} PRIVATE varnolt_check varnolt_logic platform_sim)
  target_compile_options(${target} PRIVATE ${VARNOLT_WARNINGS})
endforeach()
