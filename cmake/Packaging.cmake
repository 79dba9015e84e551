# cmake --install and the Debian package (cmake --build build --target package).
#
# The programs look for their converters, profile.cfg and zevhelp.chm in
# their own directory (the one /proc/self/exe is in), so they live together
# with the libraries in lib/clipwright and bin/ holds links to them. The
# architecture-independent files sit in share/clipwright, linked from there.
# RUNPATH $ORIGIN finds the libraries, dlopen included; the build tree's
# $ORIGIN/../lib is dropped from the installed copies.
#
#   bin/zev, bin/zev-convert             -> ../lib/clipwright/...
#   lib/clipwright/                      zev, zev-convert, libtranzo9.so,
#                                        libtranzo8.so, libwmvcore.so,
#                                        libzevdshow.so, libzevwin.so
#   lib/clipwright/profile.cfg, zevhelp.chm -> ../../share/clipwright/...
#   share/applications/zev.desktop, share/icons/hicolor/128x128/apps/zev.png

include(GNUInstallDirs)

set(ZEV_INSTALL_PROGRAM_DIR lib/clipwright)
set(ZEV_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/clipwright)
set(ZEV_INSTALL_LIBRARIES zevwin zevdshow wmvcore tranzo9 tranzo8)

install(TARGETS zev zev-convert RUNTIME DESTINATION ${ZEV_INSTALL_PROGRAM_DIR})
install(TARGETS ${ZEV_INSTALL_LIBRARIES} LIBRARY DESTINATION ${ZEV_INSTALL_PROGRAM_DIR})
foreach(target zev zev-convert ${ZEV_INSTALL_LIBRARIES})
  install(CODE "file(RPATH_SET FILE
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZEV_INSTALL_PROGRAM_DIR}/$<TARGET_FILE_NAME:${target}>\"
    NEW_RPATH \"\$ORIGIN\")")
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/bin/profile.cfg ${CMAKE_BINARY_DIR}/bin/zevhelp.chm
  DESTINATION ${ZEV_INSTALL_DATA_DIR})

# Relative links, made once here and installed as links, so the tree works
# under any prefix and unpacked anywhere.
set(ZEV_LINK_STAGE ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${ZEV_LINK_STAGE}/bin ${ZEV_LINK_STAGE}/program)
foreach(program zev zev-convert)
  file(CREATE_LINK ../${ZEV_INSTALL_PROGRAM_DIR}/${program} ${ZEV_LINK_STAGE}/bin/${program}
    SYMBOLIC)
  install(FILES ${ZEV_LINK_STAGE}/bin/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
foreach(data profile.cfg zevhelp.chm)
  file(CREATE_LINK ../../${ZEV_INSTALL_DATA_DIR}/${data} ${ZEV_LINK_STAGE}/program/${data}
    SYMBOLIC)
  install(FILES ${ZEV_LINK_STAGE}/program/${data} DESTINATION ${ZEV_INSTALL_PROGRAM_DIR})
endforeach()

# What the programs need to run, and no more: ./scripts/run.sh builds this
# before it starts zev, the tests come later.
add_custom_target(programs DEPENDS zev zev-convert ${ZEV_INSTALL_LIBRARIES} zev_help
  zev_profile_cfg)

install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/zev.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/zev.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clipwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Clipwright developers <support@clipwright.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter to Windows Media")
set(CPACK_PACKAGE_DESCRIPTION
  "Clipwright loads a movie, lets you mark a begin and an end time and pick an
encoding profile, and converts that range into a Windows Media file (WMV video
and WMA audio in ASF), with a time-stamped log and progress. It is the window
zev and the command-line converter zev-convert.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the media graph's
# elements, chmlib for the help (dlopen), and Qt's platform plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, gstreamer1.0-libav, libchm1, qt6-qpa-plugins")
include(CPack)
