# The package a user installs from: `cmake --build --preset windows --target package` zips the module and
# orvane-render.exe, which renders the example scenes with it, with INSTALL.txt, the licence, the README and
# the guide with its pictures and their scenes into OrvaneVelmorathquist-<version>-win64.zip, one folder of
# the same name inside. CPack's own ZIP writer needs no zip program. The module and the renderer are shipped
# without their debugging symbols.
set(_orvane_package OrvaneVelmorathquist-${ORVANE_VERSION}-win64)

# The two text files a Windows user opens first get Windows line ends; INSTALL.txt names the version.
configure_file(${CMAKE_SOURCE_DIR}/packaging/INSTALL.txt.in ${CMAKE_BINARY_DIR}/packaging/INSTALL.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS OrvaneVelmorathquist orvane-render LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/packaging/INSTALL.txt ${CMAKE_BINARY_DIR}/packaging/LICENSE.txt
              ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION docs FILES_MATCHING PATTERN "*.png" PATTERN "guide.md")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION examples FILES_MATCHING PATTERN "*.json")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME OrvaneVelmorathquist)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${ORVANE_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${_orvane_package})
set(CPACK_STRIP_FILES ON)
include(CPack)

# The package holds exactly what is listed here, checked by building it.
if(BUILD_TESTING)
  file(GLOB_RECURSE _pictures CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/docs/*.png)
  file(GLOB _scenes CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/examples/*.json)
  set(_expected OrvaneVelmorathquist.aex orvane-render.exe INSTALL.txt LICENSE.txt README.md docs/guide.md
                ${_pictures} ${_scenes})
  add_test(NAME package_contents
           COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DPACKAGE=${_orvane_package} "-DEXPECTED=${_expected}"
                   -P ${CMAKE_CURRENT_LIST_DIR}/CheckPackage.cmake)
endif()
