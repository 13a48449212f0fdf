# Native build: the logic over the simulation, unit and contract tests.
add_library(platform_sim STATIC
  ${VARNOLT_SHARED_PLATFORM_SOURCES}
  src/platform/sim/SimForms.cpp
  src/platform/sim/SimPlatform.cpp
)
target_include_directories(platform_sim PUBLIC src ${CMAKE_BINARY_DIR}/generated)
target_compile_options(platform_sim PRIVATE ${VARNOLT_WARNINGS})

include(cmake/TestPictures.cmake)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE varnolt_check varnolt_logic platform_sim gtest_main)
target_compile_options(unit_tests PRIVATE ${VARNOLT_WARNINGS})
uses_test_pictures(unit_tests)
# The disc check's table of mistakes takes as long as all the other unit
# tests together: run apart, the two halves take a core each.
set(_disc_check_tests DiscCheckTest.*:PluralTest.*:NameRulesTest.*)
add_test(NAME unit_tests COMMAND unit_tests --gtest_filter=-${_disc_check_tests})
add_test(NAME unit_tests_disc_check COMMAND unit_tests --gtest_filter=${_disc_check_tests})

file(GLOB CONTRACT_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*.cpp)
add_executable(contract_sim ${CONTRACT_TEST_SOURCES} tests/contract/sim/ContractWorld.cpp)
target_include_directories(contract_sim PRIVATE tests/contract)
target_link_libraries(contract_sim PRIVATE varnolt_logic platform_sim gtest_main)
target_compile_options(contract_sim PRIVATE ${VARNOLT_WARNINGS})
uses_test_pictures(contract_sim)
add_test(NAME contract_sim COMMAND contract_sim)
