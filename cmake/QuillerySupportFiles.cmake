# Desktop integration and packaging: the desktop entry, AppStream metainfo,
# the icon at every hicolor size, and a Debian package (make package).
include(GNUInstallDirs)
include(QuilleryTranslations)

add_executable(quillery_render_icon ${CMAKE_SOURCE_DIR}/tools/RenderIcon.cpp)
target_link_libraries(quillery_render_icon PRIVATE quillery_options Qt6::Gui Qt6::Svg)

set(QUILLERY_ID app.quillery.Quillery)
set(QUILLERY_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/${QUILLERY_ID}.svg)
set(QUILLERY_ICON_PNGS "")
foreach(size 16 24 32 48 64 128 256 512)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${QUILLERY_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND quillery_render_icon ${QUILLERY_ICON_SVG} ${size} ${png}
        DEPENDS quillery_render_icon ${QUILLERY_ICON_SVG}
        COMMENT "Rendering the ${size}px icon")
    list(APPEND QUILLERY_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(quillery_icons ALL DEPENDS ${QUILLERY_ICON_PNGS})

install(FILES ${QUILLERY_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/${QUILLERY_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(EXISTS ${CMAKE_SOURCE_DIR}/data/${QUILLERY_ID}.metainfo.xml)
    install(FILES ${CMAKE_SOURCE_DIR}/data/${QUILLERY_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillery)
set(CPACK_PACKAGE_VENDOR "Quillery Developers")
set(CPACK_PACKAGE_CONTACT "Quillery Developers <dev@quillery.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Task planner shaped like a paper notebook")
set(CPACK_PACKAGE_DESCRIPTION "Quillery keeps your tasks in a book of pages: tick them off, nest subtasks,\n give them a due day, a reminder, a place, notes, photos and files.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillery.app")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Runtime data and plugins the libraries do not pull in by themselves.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, adwaita-icon-theme, shared-mime-info, dbus, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
