# Installs kvl-report and kvl-sim with a manual page each (made from their
# --help by help2man at build time), the program's own manual page, and the
# Debian package (cpack -G DEB, or scripts/package).
include(GNUInstallDirs)

set(KVL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${KVL_MAN_DIR})
find_program(KVL_HELP2MAN help2man)
find_program(KVL_GZIP gzip)

# name: program target; description: the NAME line of its page.
function(kvl_man_page name description)
  set(page ${KVL_MAN_DIR}/${name}.1)
  if(KVL_HELP2MAN AND KVL_GZIP)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E env "PATH=$<TARGET_FILE_DIR:${name}>:$ENV{PATH}"
              ${KVL_HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
              --name=${description} --output=${page} ${name}
      COMMAND ${KVL_GZIP} -9nf ${page}
      DEPENDS ${name}
      COMMENT "Manual page of ${name}")
    add_custom_target(${name}-man ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(STATUS "help2man or gzip not found: no manual page for ${name}")
  endif()
endfunction()

if(TARGET kvl-report)
  install(TARGETS kvl-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  kvl_man_page(kvl-report "report the contents of KVL limiter data files as CSV or JSON")
endif()
if(TARGET kvl-sim)
  install(TARGETS kvl-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  kvl_man_page(kvl-sim "simulate a KVL 24-2 or KVL 36 sound level limiter on a pseudo-terminal")
endif()
if(KVL_GZIP)
  add_custom_command(
    OUTPUT ${KVL_MAN_DIR}/kvl-analysis.1.gz
    COMMAND ${KVL_GZIP} -9nc ${CMAKE_SOURCE_DIR}/app/desktop/kvl-analysis.1 > ${KVL_MAN_DIR}/kvl-analysis.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/app/desktop/kvl-analysis.1)
  add_custom_target(kvl-analysis-man ALL DEPENDS ${KVL_MAN_DIR}/kvl-analysis.1.gz)
  install(FILES ${KVL_MAN_DIR}/kvl-analysis.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# What a Debian package needs beside the programs.
set(KVL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kvl-analysis)
install(FILES ${CMAKE_SOURCE_DIR}/app/desktop/copyright DESTINATION ${KVL_DOC_DIR})
if(KVL_GZIP)
  add_custom_command(
    OUTPUT ${KVL_MAN_DIR}/changelog.gz
    COMMAND ${KVL_GZIP} -9nc ${CMAKE_SOURCE_DIR}/app/desktop/changelog > ${KVL_MAN_DIR}/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/app/desktop/changelog)
  add_custom_target(kvl-changelog ALL DEPENDS ${KVL_MAN_DIR}/changelog.gz)
  install(FILES ${KVL_MAN_DIR}/changelog.gz DESTINATION ${KVL_DOC_DIR})
endif()

set(CPACK_PACKAGE_NAME kvl-analysis)
set(CPACK_PACKAGE_VENDOR "ORLIN")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analysis software for KVL 24-2 and KVL 36 sound level limiters")
# Lines of the long description stay within 80 columns (lintian).
set(CPACK_PACKAGE_DESCRIPTION
    "Downloads a limiter's memory over a serial line, saves it to .kvl data\nfiles and shows it as Leq level diagrams, Leq and event tables and a\nparameter sheet, each printable. kvl-report writes data files as CSV or\nJSON; kvl-sim simulates a limiter.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ORLIN Analysis Software developers <support@orlin.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Only what the package itself must install, not the build's tests.
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)
