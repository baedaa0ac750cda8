# cmake --install BUILD --prefix PREFIX: the program in PREFIX/bin, the demo pages (its start
# page among them) in PREFIX/share/lumora, where the program looks when they are not beside it,
# and the desktop entry and the icon in their freedesktop places.
include(GNUInstallDirs)

file(RELATIVE_PATH LUMORA_DATA_FROM_BIN
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/lumora)
target_compile_definitions(lumora_app PRIVATE LUMORA_DATA_FROM_BIN="${LUMORA_DATA_FROM_BIN}")

install(TARGETS lumora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lumora)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/lumora.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon theme is drawn by the program's own icon code at build time (not in the instrumented
# fuzz build, which installs nothing).
if(NOT LUMORA_FUZZ)
  add_executable(lumora_write_icons app/icon/WriteIcons.cpp)
  target_link_libraries(lumora_write_icons PRIVATE lumora_app)
  set(LUMORA_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
  add_custom_command(OUTPUT ${LUMORA_ICON_DIR}/hicolor/48x48/apps/lumora.png
    COMMAND lumora_write_icons ${LUMORA_ICON_DIR}
    DEPENDS lumora_write_icons
    COMMENT "Drawing the program icon")
  add_custom_target(lumora_icons ALL DEPENDS ${LUMORA_ICON_DIR}/hicolor/48x48/apps/lumora.png)
  install(DIRECTORY ${LUMORA_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
