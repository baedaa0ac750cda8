# One static library per source folder. Sources are globbed so that adding a file pair needs
# no edit here; CONFIGURE_DEPENDS makes a new file trigger a re-configure.
set(LUMORA_WARNINGS -Wall -Wextra)
if(LUMORA_WERROR)
  list(APPEND LUMORA_WARNINGS -Werror)
endif()

function(lumora_library name folder)
  file(GLOB srcs CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER srcs EXCLUDE REGEX ".*/app/main\\.cpp$")
  set(cpps ${srcs})
  list(FILTER cpps INCLUDE REGEX ".*\\.cpp$")
  if(cpps)
    add_library(lumora_${name} STATIC ${srcs})
    target_link_libraries(lumora_${name} PUBLIC ${ARGN})
    target_compile_options(lumora_${name} PRIVATE ${LUMORA_WARNINGS})
    target_include_directories(lumora_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    # A folder that has no code yet is still a target, so dependants can name it.
    add_library(lumora_${name} INTERFACE ${srcs})
    target_link_libraries(lumora_${name} INTERFACE ${ARGN})
    target_include_directories(lumora_${name} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# One GoogleTest executable per source folder, tests/<folder>/*.cpp.
function(lumora_test folder)
  string(REPLACE "/" "_" tname ${folder})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp
                                   ${CMAKE_SOURCE_DIR}/tests/${folder}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(tests_${tname} ${srcs})
  target_link_libraries(tests_${tname} PRIVATE lumora_testmain ${ARGN})
  target_compile_options(tests_${tname} PRIVATE ${LUMORA_WARNINGS})
  target_compile_definitions(tests_${tname} PRIVATE
    LUMORA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    LUMORA_BUILD_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(tests_${tname} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Fails the configure step when target reaches Qt Widgets through its link libraries: the
# engine asks for toolkit services through the interfaces in platform/ instead.
function(lumora_check_no_widgets target)
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    if(t STREQUAL "Qt6::Widgets")
      message(FATAL_ERROR "${target} links Qt Widgets (through ${seen})")
    endif()
    if(TARGET ${t} AND t MATCHES "^lumora_")
      get_target_property(libs ${t} INTERFACE_LINK_LIBRARIES)
      if(libs)
        list(APPEND todo ${libs})
      endif()
    endif()
  endwhile()
endfunction()
