# What the packages carry besides the programs (each program installs itself through
# installa_programma), and CPack's settings: a Debian package on Linux, a zip in the Windows
# cross build. Both take the version of project().

set(CPACK_PACKAGE_NAME ${GENERA_PACCHETTO})
set(CPACK_PACKAGE_CONTACT
    "Seed fcf1dbe3 maintainers <maintainers@users.noreply.c-seed-fcf1dbe3.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "scenario builder for a train-driving simulator, with tools for authors")
# Lines of at most 80 characters, as Debian's tools show the description.
set(CPACK_PACKAGE_DESCRIPTION
    "genera_scenario writes the scenario Tavena_Crostia (train 4417) into the
folder that holds it and compiles it into the three files a train-driving
simulator loads, together with three documents for the driver. Every run
writes the same bytes.

compila_scenario compiles a scenario author's line and train sources into
the same files with the same compiler, and says where in the sources each
problem lies, as compilers do, and can compile again on every save with a live
page. ispeziona_scenario reads compiled files back, checks them, summarises
them, compares two of them and draws the line on a page for a browser.
decompila_scenario turns compiled files back into sources that give the same
bytes. lingua_scenario is a language server of the two source formats, for
editors.

The messages and the manual pages are in Italian.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # The README as Windows text, with the example beside the programs.
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/README.txt
    COMMAND ${CMAKE_COMMAND} -DINGRESSO=${PROJECT_SOURCE_DIR}/README.md
            -DUSCITA=${PROJECT_BINARY_DIR}/README.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/righe_windows.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/righe_windows.cmake
    VERBATIM)
  add_custom_target(leggimi ALL DEPENDS ${PROJECT_BINARY_DIR}/README.txt)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION ${GENERA_DESTINAZIONE_DOCUMENTI})

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-windows-x86_64)
else()
  # A native package's changelog, as Debian asks for one, compressed without name or time.
  set(changelog ${PROJECT_BINARY_DIR}/pacchetto/changelog)
  configure_file(pacchetto/changelog.in ${changelog} @ONLY)
  add_custom_command(
    OUTPUT ${changelog}.gz
    COMMAND gzip -9nkf ${changelog}
    DEPENDS ${changelog}
    VERBATIM)
  add_custom_target(changelog ALL DEPENDS ${changelog}.gz)
  install(FILES README.md pacchetto/copyright ${changelog}.gz
          DESTINATION ${GENERA_DESTINAZIONE_DOCUMENTI})

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Not a game itself: the scenarios it writes are for one.
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs link to, as dpkg-shlibdeps finds them in the binaries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
