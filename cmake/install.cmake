# SPDX-License-Identifier: GPL-3.0-or-later
# Installing VOLPAR as a desktop program (cmake --install) and packing it as a Debian
# package (make package): programs, help files, desktop entry, icon, metainfo, man pages,
# the documents in share/doc/volpar. The catalogs of po/ are built into the programs.
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

# The desktop entry and the metainfo carry their name, summary and comments in every
# language: msgfmt merges the catalogs of po/ into them at build time. It reads the
# languages from a LINGUAS file beside the catalogs, written here from VOLPAR_LANGUAGES.
# (The programs' own texts need no file: the catalogs are built into them.)
function(volpar_translate_desktop_files)
  set(catalogs ${PROJECT_BINARY_DIR}/po)
  set(out ${PROJECT_BINARY_DIR}/desktop)
  file(MAKE_DIRECTORY ${catalogs} ${out})
  string(JOIN "\n" linguas ${VOLPAR_LANGUAGES})
  file(CONFIGURE OUTPUT ${catalogs}/LINGUAS CONTENT "${linguas}\n")
  set(po_files)
  set(translated)
  foreach(lang ${VOLPAR_LANGUAGES})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/po/${lang}.po ${catalogs}/${lang}.po SYMBOLIC)
    list(APPEND po_files ${PROJECT_SOURCE_DIR}/po/${lang}.po)
  endforeach()
  foreach(kind desktop xml)
    set(file ${VOLPAR_ID}.desktop)
    if(kind STREQUAL xml)
      set(file ${VOLPAR_ID}.metainfo.xml)
    endif()
    add_custom_command(OUTPUT ${out}/${file}
      COMMAND ${MSGFMT} --${kind} --template=${VOLPAR_DESKTOP}/${file} -d ${catalogs}
        --output-file=${out}/${file}
      DEPENDS ${VOLPAR_DESKTOP}/${file} ${po_files} VERBATIM)
    list(APPEND translated ${out}/${file})
  endforeach()
  add_custom_target(volpar-desktop-files ALL DEPENDS ${translated})
endfunction()

install(TARGETS volpar-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(VOLPAR_MANUALS volpar-run)
if(TARGET volpar)
  install(TARGETS volpar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The help in each language lies in a folder named for it, beside the English file.
  install(FILES ${PROJECT_SOURCE_DIR}/help/Vuvuva.zev DESTINATION ${VOLPAR_DATADIR})
  foreach(lang ${VOLPAR_LANGUAGES})
    install(FILES ${PROJECT_SOURCE_DIR}/help/${lang}/Vuvuva.zev DESTINATION ${VOLPAR_DATADIR}/${lang})
  endforeach()
  volpar_translate_desktop_files()
  install(FILES ${PROJECT_BINARY_DIR}/desktop/${VOLPAR_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/desktop/${VOLPAR_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${VOLPAR_DESKTOP}/${VOLPAR_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  list(APPEND VOLPAR_MANUALS volpar)
endif()

# Man pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no
# time stamp, so that a rebuild gives the same bytes).
find_program(GZIP gzip REQUIRED)
set(VOLPAR_MAN ${PROJECT_SOURCE_DIR}/man)
set(VOLPAR_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(volpar_docs)
function(volpar_gzip source target)
  set(out ${PROJECT_BINARY_DIR}/compressed/${target})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
    COMMAND ${GZIP} -9n -c ${source} > ${out}
    DEPENDS ${source} VERBATIM)
  set(volpar_docs ${volpar_docs} ${out} PARENT_SCOPE)
endfunction()
foreach(page ${VOLPAR_MANUALS})
  volpar_gzip(${VOLPAR_MAN}/${page}.1 ${page}.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/compressed/${page}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
volpar_gzip(${VOLPAR_MAN}/volpar.5 volpar.5.gz)
install(FILES ${PROJECT_BINARY_DIR}/compressed/volpar.5.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
# The exercise file format has a page of its own.
volpar_gzip(${VOLPAR_MAN}/volpar-exercise.5 volpar-exercise.5.gz)
install(FILES ${PROJECT_BINARY_DIR}/compressed/volpar-exercise.5.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
# So has program text.
volpar_gzip(${VOLPAR_MAN}/volpar-text.5 volpar-text.5.gz)
install(FILES ${PROJECT_BINARY_DIR}/compressed/volpar-text.5.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
volpar_gzip(${VOLPAR_PACKAGING}/changelog changelog.gz)
add_custom_target(volpar-docs ALL DEPENDS ${volpar_docs})

# What an administrator looks for in usr/share/doc/volpar: the licence terms in Debian's
# machine-readable form, the changelog, the README and example program files.
set(VOLPAR_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/volpar)
install(FILES ${VOLPAR_PACKAGING}/copyright ${PROJECT_BINARY_DIR}/compressed/changelog.gz
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${VOLPAR_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${VOLPAR_DOCDIR}/examples)

# make package: a .deb whose dependencies dpkg-shlibdeps finds from the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME volpar)
set(CPACK_PACKAGE_VENDOR "VOLPAR")
set(CPACK_PACKAGE_CONTACT "VOLPAR maintainers <maintainers@volpar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching simulator of a very small stored-program computer")
# The extended description, one line of the control file each (none longer than 80).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "VOLPAR animates, clock phase by clock phase, how a very small computer (32"
  "bytes of memory, eight op codes) fetches, decodes and executes each"
  "instruction of a program that students type into its memory grid, bit by"
  "bit or as op code and address. The clock runs at 1 to 1000 Hz or one phase"
  "per press; an execution history steps back through the run."
  "."
  "volpar-run runs program files without windows, for checking and grading"
  "students' programs.")
# Directories as Debian wants them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows need a platform plug-in, which the Qt libraries only recommend.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# The windows draw Chinese with whichever installed font has its characters, and Qt's own
# dialogs speak the language chosen where Qt's translations are installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
