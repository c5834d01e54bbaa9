# The release: the version the programs print, what `cmake --install` puts
# where, the files made for it at build time (man pages, the desktop icon,
# Debian's copyright and changelog) and the Debian package `cpack -G DEB`
# builds. Included at the end of the top CMakeLists.txt, once the three
# programs exist as targets.

# The version, for --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
target_include_directories(check-solids PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_include_directories(duals-explorer PRIVATE ${CMAKE_BINARY_DIR}/generated)

# A sanitized build (the tests' or the fuzz harnesses') is never installed;
# its programs would also report the GL driver's leaks while making the icon.
if(PD_SANITIZE OR PD_FUZZ)
  return()
endif()

# Paths under the prefix. The data folder is fixed: the explorer looks for
# it at ../share/platonic-duals/data beside its own executable.
set(PD_DATA_DESTINATION share/platonic-duals/data)
set(PD_DOC_DESTINATION share/doc/platonic-duals)
set(PD_MAINTAINER "platonic-duals developers <maintainers@users.noreply.c-seed-c4be9347.example>"
    CACHE STRING "The Debian package's maintainer, NAME <ADDRESS>")
set(made ${CMAKE_BINARY_DIR}/release)
file(MAKE_DIRECTORY ${made})

# Man pages: the explorer's and check-solids' from their own --help, the
# console program's (it has no options) written by hand. Debian wants them
# and the changelog compressed with gzip -9n.
set(PD_MAN_NAME_duals-explorer "turn a polyhedron with its dual, or save pictures of it")
set(PD_MAN_NAME_check-solids "check the ten solid files against platonic-duals' edge tables")
# The explorer's also has what --help leaves out (man/duals-explorer.h2m)
# and its key list, printed by key-list from the action table the keyboard
# and the menu use, so it cannot drift from them.
add_executable(key-list tools/key_list.cpp)
target_link_libraries(key-list PRIVATE pd_explorer)
add_custom_command(OUTPUT ${made}/duals-explorer.h2m
  COMMAND key-list > ${made}/keys.h2m
  COMMAND ${CMAKE_COMMAND} -E cat ${made}/keys.h2m ${CMAKE_SOURCE_DIR}/man/duals-explorer.h2m
          > ${made}/duals-explorer.h2m
  DEPENDS key-list ${CMAKE_SOURCE_DIR}/man/duals-explorer.h2m)
set(PD_MAN_INCLUDE_duals-explorer --include ${made}/duals-explorer.h2m)
set(PD_MAN_DEPENDS_duals-explorer ${made}/duals-explorer.h2m)
set(PD_MADE_FILES)
foreach(program duals-explorer check-solids)
  add_custom_command(OUTPUT ${made}/${program}.1.gz
    COMMAND help2man --no-info --section 1 --name ${PD_MAN_NAME_${program}}
            ${PD_MAN_INCLUDE_${program}} --output ${made}/${program}.1 $<TARGET_FILE:${program}>
    COMMAND gzip -9nf ${made}/${program}.1
    DEPENDS ${program} ${PD_MAN_DEPENDS_${program}} VERBATIM)
  list(APPEND PD_MADE_FILES ${made}/${program}.1.gz)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${made}/changelog @ONLY)
foreach(source ${CMAKE_SOURCE_DIR}/man/platonic-duals.1 ${made}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${made}/${name}.gz
    COMMAND gzip -9n -c ${source} > ${made}/${name}.gz
    DEPENDS ${source})
  list(APPEND PD_MADE_FILES ${made}/${name}.gz)
endforeach()

# The desktop icon: the explorer's own picture of the dodecahedron and its
# reciprocal icosahedron, drawn headless (EGL, no display needed).
add_custom_command(OUTPUT ${made}/duals-explorer.png
  COMMAND duals-explorer ${CMAKE_SOURCE_DIR}/data --solid 4 --dual reciprocal --back hidden
          --size 256x256 --png ${made}/duals-explorer.png
  DEPENDS duals-explorer VERBATIM)
list(APPEND PD_MADE_FILES ${made}/duals-explorer.png)
add_custom_target(release-files ALL DEPENDS ${PD_MADE_FILES})

# Debian's copyright file carries the licence's terms from LICENSE.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Permission" start)
string(SUBSTRING "${licence}" ${start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " PD_LICENCE_TERMS " ${terms}")
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${made}/copyright @ONLY)

install(TARGETS platonic-duals check-solids duals-explorer RUNTIME DESTINATION bin)
install(FILES
  data/tetra.DAT data/tetrap.dat data/kocka.dat data/kockap.dat data/okta.dat data/oktap.dat
  data/dodeka.dat data/dodekap.dat data/ikosa.dat data/ikosap.dat
  DESTINATION ${PD_DATA_DESTINATION})
install(FILES ${made}/platonic-duals.1.gz ${made}/duals-explorer.1.gz ${made}/check-solids.1.gz
  DESTINATION share/man/man1)
install(FILES README.md LICENSE ${made}/copyright ${made}/changelog.gz
  DESTINATION ${PD_DOC_DESTINATION})
# The users' documents the README links to in docs/, at the same place beside
# it (the developers' ones, architecture and testing, stay in the source).
install(FILES docs/explorer.md docs/mathematics.md docs/typical-run.png docs/explorer-compound.png
  DESTINATION ${PD_DOC_DESTINATION}/docs)
install(FILES packaging/duals-explorer.desktop DESTINATION share/applications)
install(FILES ${made}/duals-explorer.png DESTINATION share/icons/hicolor/256x256/apps)

# The Debian package: platonic-duals_1.0.0_amd64.deb, its dependencies
# found by dpkg-shlibdeps from what the programs link.
set(CPACK_PACKAGE_NAME platonic-duals)
set(CPACK_PACKAGE_VENDOR "the platonic-duals developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "regular solids and their duals, on the console and in a viewer")
set(CPACK_PACKAGE_DESCRIPTION "\
platonic-duals reads the five regular solids from ten text files, writes
their duals, asks for two angles and a solid, and draws the solid in blue
with its dual in red. duals-explorer turns any of them, or polyhedra from
OFF files, with the program's or the reciprocal dual, and saves PNG, SVG
and OFF files, also without a display. check-solids checks data files of
your own against the console program's edge tables.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PD_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
