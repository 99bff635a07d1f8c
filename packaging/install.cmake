# Install rules and packages. Linux: the game, Data/, a desktop entry, hicolor icons, AppStream
# metadata, a manual page and the licences in the usual places; `cpack` makes a .deb. Windows:
# the exe with Data/, README.txt and the licences; `cpack` makes zelu-line-VERSION-windows.zip.
set(ZELU_APP_ID io.github.zeluline.zeluline) # AppStream component id and desktop file name
set(ZELU_HOMEPAGE "https://github.com/zeluline/zelu-line" CACHE STRING "Project home page")
set(ZELU_SCREENSHOT_URL
    "https://raw.githubusercontent.com/zeluline/zelu-line/v${PROJECT_VERSION}/docs/screenshot.png"
    CACHE STRING "Where AppStream clients fetch the screenshot (docs/screenshot.png)")
set(ZELU_MAINTAINER "The zelu-line developers <zelu-line@users.noreply.github.com>")
set(ZELU_RELEASE_DATE "2026-12-10")
set(ZELU_RELEASE_DATE_RFC2822 "Thu, 10 Dec 2026 00:00:00 +0000")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

set(CPACK_PACKAGE_NAME zelu-line)
set(CPACK_PACKAGE_VENDOR "The zelu-line developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "snake game on a board whose edges wrap")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZELU_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git")

if(WIN32)
  # README.txt and the licences with Windows line ends, for Notepad.
  configure_file(${packaging}/windows/README.txt.in ${generated}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${generated}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES.txt
                 ${generated}/THIRD_PARTY_NOTICES.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS zelu-line RUNTIME DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/Data DESTINATION .)
  install(FILES ${generated}/README.txt ${generated}/LICENSE.txt
                ${generated}/THIRD_PARTY_NOTICES.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zelu-line-${PROJECT_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

  # The installer, zelu-line-VERSION-windows-setup.exe, made by NSIS's makensis. Its script names
  # every file of Data/, so that the uninstaller removes exactly those.
  file(GLOB data_files CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/Data
       ${PROJECT_SOURCE_DIR}/Data/*)
  set(ZELU_NSIS_INSTALL_DATA "")
  set(ZELU_NSIS_UNINSTALL_DATA "")
  set(data_paths "")
  foreach(file IN LISTS data_files)
    string(APPEND ZELU_NSIS_INSTALL_DATA "  File \"${PROJECT_SOURCE_DIR}/Data/${file}\"\n")
    string(APPEND ZELU_NSIS_UNINSTALL_DATA "  Delete \"$INSTDIR\\Data\\${file}\"\n")
    list(APPEND data_paths ${PROJECT_SOURCE_DIR}/Data/${file})
  endforeach()
  configure_file(${packaging}/windows/installer.nsi.in ${generated}/installer.nsi @ONLY)
  find_program(ZELU_MAKENSIS makensis)
  if(ZELU_MAKENSIS)
    set(ZELU_SETUP ${PROJECT_BINARY_DIR}/zelu-line-${PROJECT_VERSION}-windows-setup.exe)
    add_custom_command(OUTPUT ${ZELU_SETUP}
      COMMAND ${ZELU_MAKENSIS} -V2 -DZELU_EXE=$<TARGET_FILE:zelu-line> -DZELU_DOCS=${generated}
              -DZELU_OUT=${ZELU_SETUP} ${generated}/installer.nsi
      DEPENDS zelu-line ${generated}/installer.nsi ${generated}/README.txt
              ${generated}/LICENSE.txt ${generated}/THIRD_PARTY_NOTICES.txt ${ZELU_ICO}
              ${data_paths}
      COMMENT "Making the installer ${ZELU_SETUP}")
    add_custom_target(installer ALL DEPENDS ${ZELU_SETUP})
  endif()
else()
  install(TARGETS zelu-line RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/Data DESTINATION ${ZELU_DATA_DIR})

  set(ZELU_INSTALLED_DATA ${CMAKE_INSTALL_PREFIX}/${ZELU_DATA_DIR})
  # The manual page and the Debian changelog, compressed without a time stamp (reproducible).
  configure_file(${packaging}/linux/zelu-line.6.in ${generated}/zelu-line.6 @ONLY)
  configure_file(${packaging}/linux/changelog.in ${generated}/changelog @ONLY)
  foreach(file zelu-line.6 changelog)
    execute_process(COMMAND gzip -9nf -k ${generated}/${file} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip could not compress ${generated}/${file}")
    endif()
  endforeach()
  install(FILES ${generated}/zelu-line.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

  # The licence and the notices, as the one copyright file of the package's documentation.
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  file(READ ${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES.txt notices)
  file(WRITE ${generated}/copyright "zelu-line ${PROJECT_VERSION}\n"
             "Home page: ${ZELU_HOMEPAGE}\n\n${licence}\n\n${notices}")
  install(FILES ${generated}/copyright ${generated}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zelu-line)

  if(NOT APPLE)
    install(FILES ${packaging}/linux/zelu-line.desktop
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications RENAME ${ZELU_APP_ID}.desktop)
    foreach(size 48 64 128 256)
      install(FILES ${packaging}/icons/zelu-line-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
              RENAME zelu-line.png)
    endforeach()
    configure_file(${packaging}/linux/zelu-line.metainfo.xml.in
                   ${generated}/${ZELU_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${generated}/${ZELU_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZELU_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
         "Zelu's Line is a snake on a 14 x 12 board whose edges wrap around, drawn\n"
         "with OpenGL in a window or fullscreen. Each food scores a point and grows\n"
         "the snake; every tenth food makes it faster. Running into its own body\n"
         "ends the game; a snake that fills the board completes it.")
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
      GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()

include(CPack)
