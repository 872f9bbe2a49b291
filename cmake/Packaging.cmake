# Install layout and the Debian package (`cpack -G DEB` in the build folder).
#
# Debian's games layout under the prefix: the command in games/, the executable
# in lib/games/skyhog/, the data tree the game reads through "../../Skyhog/" in
# share/games/skyhog/ (read only; the game writes nothing there). The launcher
# finds both from its own place, so an unpacked copy runs wherever it lies.

install(TARGETS skyhog RUNTIME DESTINATION lib/games/skyhog)
install(PROGRAMS packaging/skyhog DESTINATION games)
install(DIRECTORY "${SKYHOG_DATA_DIR}" DESTINATION share/games/skyhog)
install(FILES packaging/skyhog.desktop DESTINATION share/applications)
# The software centre's listing (AppStream), named by its component id.
install(FILES packaging/io.github.skyhog.skyhog.metainfo.xml DESTINATION share/metainfo)
foreach(size 48 128 256)
  install(FILES "${SKYHOG_ICON_DIR}/skyhog-${size}.png"
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME skyhog.png)
endforeach()

# Debian wants the changelog and the manual page compressed, without a time stamp.
set(SKYHOG_PACKAGING_DIR "${CMAKE_BINARY_DIR}/packaging")
set(SKYHOG_COMPRESSED_DOCS "")
foreach(doc changelog skyhog.6)
  set(out "${SKYHOG_PACKAGING_DIR}/${doc}.gz")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${SKYHOG_PACKAGING_DIR}"
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" "${CMAKE_SOURCE_DIR}/packaging/${doc}" "${out}"
    DEPENDS "${CMAKE_SOURCE_DIR}/packaging/${doc}" VERBATIM)
  list(APPEND SKYHOG_COMPRESSED_DOCS "${out}")
endforeach()
add_custom_target(skyhog_package_docs ALL DEPENDS ${SKYHOG_COMPRESSED_DOCS})
install(FILES packaging/copyright "${SKYHOG_PACKAGING_DIR}/changelog.gz" DESTINATION share/doc/skyhog)
install(FILES "${SKYHOG_PACKAGING_DIR}/skyhog.6.gz" DESTINATION share/man/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skyhog)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Skyhog developers <skyhog@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the packages of the libraries the executable links
# (GLFW, GLEW, assimp, FreeImage, FreeType, OpenAL Soft, libsndfile, the C++
# runtime); OpenGL itself comes from Mesa's drivers at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "arcade game: a winged pig soaks the people on an island
Skyhog is a small real-time 3D arcade game. The player steers a winged pig
over a sea with a sandy island, palms, a boat and thirteen walking people.
Holding Space releases a falling stream; every person it hits leaves the
island with a cry of pain and scores ten points. When nobody is left, the
game is won.
.
The sea mirrors the island and shows what lies under it, the lamp casts soft
shadows, and a top-down map, the shadow map and the water's pictures can be
shown for a look behind the scenes. It needs OpenGL 3.3.")
include(CPack)
