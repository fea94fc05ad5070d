# Packages: a Debian package (cmake --workflow --preset package) and the
# version-bearing names the Windows zip uses.
option(SPANLET_DEBIAN_PACKAGE "Install the files a Debian package needs and set up CPack for it" OFF)

if(SPANLET_DEBIAN_PACKAGE)
  # Debian wants the manual page and the changelog compressed, without a time
  # stamp in the gzip header, and a copyright file beside the changelog.
  find_program(SPANLET_GZIP gzip REQUIRED)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
  set(compressed)
  # The changelog's newest entry must be of the project's version.
  file(STRINGS packaging/debian/changelog newest LIMIT_COUNT 1)
  if(NOT newest MATCHES "^spanlet \\(${PROJECT_VERSION}-[0-9]+\\)")
    message(FATAL_ERROR "packaging/debian/changelog begins with \"${newest}\", not version ${PROJECT_VERSION}")
  endif()
  foreach(pair "${CMAKE_CURRENT_BINARY_DIR}/spanlet.1;spanlet.1.gz"
               "${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/changelog;changelog.Debian.gz")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${target}
      COMMAND ${SPANLET_GZIP} -9n -c ${source} > ${target}
      DEPENDS ${source} VERBATIM)
    list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${target})
  endforeach()
  add_custom_target(spanlet_debian_files ALL DEPENDS ${compressed})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/spanlet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz packaging/debian/copyright
          DESTINATION ${doc_dir})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
  set(CPACK_PACKAGE_VENDOR "The spanlet developers")
  set(CPACK_PACKAGE_CONTACT "The spanlet developers <spanlet@example.org>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print the number of days between two calendar dates")
  set(CPACK_PACKAGE_DESCRIPTION
    "spanlet reads two dates, year first or month first with any separator,\n"
    "and prints the first minus the second in days, for every date of the\n"
    "Gregorian calendar from 1400 to 9999. A text that is not a real date is\n"
    "refused, never turned into a number.")
  string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packages)
  include(CPack)
endif()
