# SPDX-FileCopyrightText: 2026 The Marshwade developers
# SPDX-License-Identifier: MIT
# The Debian package that `make package` builds with CPack's DEB generator: what `cmake --install`
# puts under the prefix, installed under /usr, with its run-time libraries found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marshwade)
set(CPACK_PACKAGE_VENDOR "Marshwade developers")
# The game, its tools and everything they generate (pictures, sounds, icons) are MIT; debian/copyright
# says so machine-readably and is installed as the package's usr/share/doc/marshwade/copyright.
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: a frog hops across a pond of sinking lily leaves")
set(CPACK_PACKAGE_DESCRIPTION "A small green frog hops from lily leaf to lily leaf while the leaves
slowly sink. It eats flies for points, dodges the red frogs that come in from
the corners and the suns that push it away, and completes a level by leaping
onto the last islet that is left. Three skills, a high-score table for each.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# xz, as Debian's own packages: the pictures drawn at 2x and 3x are most of the package, and xz
# makes them less than two thirds of what gzip leaves.
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marshwade developers <games@marshwade.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://marshwade.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked, so dpkg-shlibdeps cannot see them: the faces the game asks fontconfig for ("Arial" is
# matched by Liberation Sans), and xdg-open for the web pages the buttons open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
# Folders the install creates get fixed permissions, not whatever the builder's umask gives, so two
# builds list the same package contents.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
