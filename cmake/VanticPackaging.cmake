# Installation and the two Debian packages (scripts/package builds them):
#   vantic-controller  the program, vanticctl, vantic-keygen, desktop entry,
#                      icon, AppStream metadata, manual pages
#   vantic-server      the reference server and its systemd unit
# Their version is the project's. Run-time dependencies are computed from
# the binaries by dpkg-shlibdeps.

include(GNUInstallDirs)

set(VANTIC_RELEASE_SIGNATURE "" CACHE FILEPATH
    "The release's update signature file, shipped as share/vantic-controller/current.sig")
set(VANTIC_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the packages")

set(VANTIC_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${generated})

# A manual page from the program's --help text, gzipped as Debian wants.
function(vantic_manual_page target section summary see_also component)
    set(page ${generated}/${target}.${section})
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${target}
                -DSECTION=${section} "-DSUMMARY=${summary}" "-DSEE_ALSO=${see_also}"
                "-DVERSION=${PROJECT_VERSION}" -DOUT=${page}
                -P ${PROJECT_SOURCE_DIR}/cmake/HelpToMan.cmake
        COMMAND gzip -9nf ${page}
        DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/HelpToMan.cmake
        COMMENT "Manual page ${target}(${section}) from ${target} --help"
        VERBATIM)
    add_custom_target(${target}-manual ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
            COMPONENT ${component})
endfunction()

# VANTIC_RELEASE_DATE as a changelog wants it: "Tue, 08 Dec 2026 00:00:00 +0000".
function(vantic_rfc2822_date iso out)
    if(NOT iso MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "VANTIC_RELEASE_DATE ${iso} is not YYYY-MM-DD")
    endif()
    set(year ${CMAKE_MATCH_1})
    math(EXPR month "1${CMAKE_MATCH_2} - 100")
    set(day ${CMAKE_MATCH_3})
    # The weekday by Sakamoto's method, Sunday first.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + 1${day} - 100) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekdayName)
    list(GET months ${index} monthName)
    set(${out} "${weekdayName}, ${day} ${monthName} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
vantic_rfc2822_date(${VANTIC_RELEASE_DATE} VANTIC_RELEASE_DATE_RFC2822)

# Debian's changelog and copyright files for a package.
function(vantic_package_docs package component)
    set(changelog ${generated}/${package}/changelog.Debian)
    configure_file(${VANTIC_PACKAGING_DIR}/changelog.in ${changelog} @ONLY)
    add_custom_command(OUTPUT ${changelog}.gz COMMAND gzip -9nkf ${changelog}
                       DEPENDS ${changelog} VERBATIM)
    add_custom_target(${package}-changelog ALL DEPENDS ${changelog}.gz)
    install(FILES ${changelog}.gz ${VANTIC_PACKAGING_DIR}/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endfunction()

# The server package.
install(TARGETS vantic-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
install(FILES ${VANTIC_PACKAGING_DIR}/vantic-server.service DESTINATION lib/systemd/system
        COMPONENT server)
vantic_manual_page(vantic-server 8 "the reference distribution server for Vantic controllers"
                   "vanticctl(1), vantic-keygen(1)" server)
vantic_package_docs(vantic-server server)

# The controller package.
if(VANTIC_GUI)
    install(TARGETS vantic-controller vanticctl vantic-keygen
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT controller)
    # vantic-chart-render draws vanticctl's charts and statements; vanticctl
    # looks for it beside itself, then in ../libexec/vantic-controller.
    install(TARGETS vantic-chart-render
            RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vantic-controller
            COMPONENT controller)
    vantic_manual_page(vanticctl 1 "a distribution server from the command line"
                       "vantic-server(8), vantic-keygen(1)" controller)
    vantic_manual_page(vantic-keygen 1 "write a new key pair for a distribution server"
                       "vantic-server(8), vanticctl(1)" controller)
    vantic_package_docs(vantic-controller controller)
    # The user manual, where "User Manual..." of an installed program finds it.
    install(FILES ${PROJECT_BINARY_DIR}/qt/UserManual.pdf
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantic-controller COMPONENT controller)
    # The program takes no arguments, so its page is written by hand; its
    # version is the project's.
    configure_file(${VANTIC_PACKAGING_DIR}/vantic-controller.1.in ${generated}/vantic-controller.1
                   @ONLY)
    add_custom_command(OUTPUT ${generated}/vantic-controller.1.gz
                       COMMAND gzip -9nkf ${generated}/vantic-controller.1
                       DEPENDS ${generated}/vantic-controller.1 VERBATIM)
    add_custom_target(vantic-controller-manual ALL DEPENDS ${generated}/vantic-controller.1.gz)
    install(FILES ${generated}/vantic-controller.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT controller)

    # The installed release's signature file: a packaged program compares
    # what the update server offers with it, and says "no new update" when
    # they are the same. It is the signature file published with this
    # release (downloads/update1.sig), named at configure time.
    if(VANTIC_RELEASE_SIGNATURE)
        install(FILES ${VANTIC_RELEASE_SIGNATURE} RENAME current.sig
                DESTINATION ${CMAKE_INSTALL_DATADIR}/vantic-controller COMPONENT controller)
    endif()

    install(FILES ${VANTIC_PACKAGING_DIR}/vantic-controller.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT controller)
    configure_file(${VANTIC_PACKAGING_DIR}/io.vantic.Controller.metainfo.xml.in
                   ${generated}/io.vantic.Controller.metainfo.xml @ONLY)
    install(FILES ${generated}/io.vantic.Controller.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT controller)

    foreach(size 48 128 256)
        set(icon ${generated}/icons/${size}/vantic-controller.png)
        add_custom_command(
            OUTPUT ${icon}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
            COMMAND vantic-icon ${size} ${icon}
            DEPENDS vantic-icon
            COMMENT "Icon ${size}x${size}"
            VERBATIM)
        list(APPEND icons ${icon})
        install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                COMPONENT controller)
    endforeach()
    add_custom_target(vantic-icons ALL DEPENDS ${icons})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantic)
set(CPACK_PACKAGE_VENDOR "${VANTIC_MAKER_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vantic Controller developers <vantic@example.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENTS_ALL server)
if(VANTIC_GUI)
    list(APPEND CPACK_COMPONENTS_ALL controller)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VANTIC_PACKAGE_RELEASE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_CONTROLLER_PACKAGE_NAME vantic-controller)
set(CPACK_DEBIAN_CONTROLLER_PACKAGE_SECTION video)
set(CPACK_COMPONENT_CONTROLLER_DESCRIPTION
    "Digital-signage media player controller
The operator's desktop program for a network of digital-signage media
players: playlists with schedules, deployment to the players, their
settings and status, and reports. Also vanticctl, the same operations from
the command line, and vantic-keygen for server key pairs.")
set(CPACK_DEBIAN_CONTROLLER_PACKAGE_SUGGESTS vantic-server)
# The chart window and vantic-chart-render draw with Qt Charts and write SVG
# with Qt SVG; named here as well as found by dpkg-shlibdeps.
set(CPACK_DEBIAN_CONTROLLER_PACKAGE_DEPENDS "libqt6charts6, libqt6svg6")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME vantic-server)
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "Reference distribution server for Vantic controllers
Serves a venue of digital-signage units to Vantic controllers and
vanticctl: unit lists, instruction files, media and reports. Runs as a
sandboxed systemd service with its data in /var/lib/vantic-server.")

include(CPack)
