# Installing VOLPAR as a desktop program (cmake --install) and packing it as a Debian
# package (make package): programs, help file, desktop entry, icon, metainfo, man pages.
include(GNUInstallDirs)

set(VOLPAR_ID org.volpar.volpar)
set(VOLPAR_DESKTOP ${PROJECT_SOURCE_DIR}/desktop)
set(VOLPAR_DATADIR ${CMAKE_INSTALL_DATADIR}/volpar)

# The windowed program finds its help file relative to itself, so a moved install works.
if(TARGET volpar_qt)
  cmake_path(RELATIVE_PATH VOLPAR_DATADIR BASE_DIRECTORY ${CMAKE_INSTALL_BINDIR}
             OUTPUT_VARIABLE data_from_bin)
  target_compile_definitions(volpar_qt PRIVATE VOLPAR_DATA_FROM_BIN="${data_from_bin}")
endif()

install(TARGETS volpar-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(VOLPAR_MANUALS volpar-run)
if(TARGET volpar)
  install(TARGETS volpar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/help/Vuvuva.zev DESTINATION ${VOLPAR_DATADIR})
  install(FILES ${VOLPAR_DESKTOP}/${VOLPAR_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VOLPAR_DESKTOP}/${VOLPAR_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${VOLPAR_DESKTOP}/${VOLPAR_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  list(APPEND VOLPAR_MANUALS volpar)
endif()

# Man pages, made from each program's --help and --version at build time.
find_program(HELP2MAN help2man REQUIRED)
set(volpar_summary "simulate a very small stored-program computer, phase by phase")
set(volpar-run_summary "run a VOLPAR program file without windows")
foreach(program ${VOLPAR_MANUALS})
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --section=1 "--name=${${program}_summary}"
            --output=${page} $<TARGET_FILE:${program}>
    DEPENDS ${program}
    COMMENT "Writing the man page ${program}(1)")
  list(APPEND VOLPAR_PAGES ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(volpar-man ALL DEPENDS ${VOLPAR_PAGES})

# make package: a .deb whose dependencies dpkg-shlibdeps finds from the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME volpar)
set(CPACK_PACKAGE_VENDOR "VOLPAR")
set(CPACK_PACKAGE_CONTACT "VOLPAR maintainers <maintainers@volpar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching simulator of a very small stored-program computer")
set(CPACK_PACKAGE_DESCRIPTION "VOLPAR animates, clock phase by clock phase, how a computer \
with 32 bytes of memory fetches, decodes and executes each instruction of a program that \
students type in. volpar-run runs program files without windows, for checking and grading.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows need a platform plug-in, which the Qt libraries only recommend.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_STRIP_FILES ON)
include(CPack)
