# libFuzzer targets over the simulation (clang only). tools/run-fuzz.sh
# builds and runs them; the seeds are in fuzz/corpus/<target>/.
set(VARNOLT_FUZZ_TARGETS text_decode ini_reader folder_order disc_files)
add_custom_target(fuzz_targets)
foreach(name IN LISTS VARNOLT_FUZZ_TARGETS)
  add_executable(fuzz_${name} fuzz/${name}_fuzzer.cpp)
  target_link_libraries(fuzz_${name} PRIVATE varnolt_check varnolt_logic platform_sim)
  target_compile_options(fuzz_${name} PRIVATE ${VARNOLT_WARNINGS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzz_targets fuzz_${name})
endforeach()
