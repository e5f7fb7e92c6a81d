# The Debian package, built by "cpack -G DEB" (see scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME deployer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Deployment tools team <maintainers@deployer.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure and deploy a containerised web application")
# The extended description; CPack puts the summary above it and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "deployer is an interactive terminal tool for a Linux server. In a full-screen
text interface the administrator edits the deployment settings of a web
application: a container runtime installed from a downloaded archive, a web
server with its instance folder, and the application registered with it from
a downloaded patch file. The tool then deploys, updates, deletes or migrates
the installation by running wget, tar and the installers found inside the
archives, printing one line per step.

The same actions, and reading or changing single settings, are available as
commands for scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# tar and bash are essential packages; Debian wants a version on a dependency on them.
# libcrypto is loaded at run time, so shlibdeps cannot see it: the package that holds it here
# is named by dpkg.
execute_process(COMMAND sh -c "dpkg -S \"$(readlink -f /usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/libcrypto.so.3)\" | cut -d: -f1"
                OUTPUT_VARIABLE DEPLOYER_CRYPTO_PACKAGE OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT DEPLOYER_CRYPTO_PACKAGE)
  set(DEPLOYER_CRYPTO_PACKAGE libssl3)
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "wget, tar (>= 1.29), bash (>= 4.4), ${DEPLOYER_CRYPTO_PACKAGE} (>= 3.0.0)")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
