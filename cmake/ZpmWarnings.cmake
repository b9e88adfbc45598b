# Warnings on for our own code; wx headers come in as system headers.
add_library(zpm_warnings INTERFACE)
target_compile_options(zpm_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
add_library(zpm::warnings ALIAS zpm_warnings)

# zpm_library(NAME [GUI] SOURCES ... LIBS ...): a static library of one folder of the program.
# Without GUI it links wxBase only, so its tests run without a display.
function(zpm_library name)
  cmake_parse_arguments(L "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
  if(L_GUI)
    target_link_libraries(${name} PUBLIC zpm::wxcore)
  else()
    target_link_libraries(${name} PUBLIC zpm::wxbase)
  endif()
  target_link_libraries(${name} PUBLIC ${L_LIBS} PRIVATE zpm::warnings)
endfunction()
