# Installation: the shared libraries, their public headers, the program, the CMake package
# (find_package(geomFeature CONFIG) -> geomFeature::geomFeature, geomFeature::host, geomFeature::io) and the
# pkg-config files. Included last by the top-level CMakeLists.txt, once every target exists.
include(CMakePackageConfigHelpers)

set(GF_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/geomFeature)
set(GF_LIBRARY_TARGETS geomFeatureHost geomFeature)
if(TARGET geomFeatureIO)
  list(APPEND GF_LIBRARY_TARGETS geomFeatureIO)
endif()

# Installed programs and libraries find their neighbours relative to themselves, wherever the prefix is.
file(RELATIVE_PATH gf_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
set_target_properties(${GF_LIBRARY_TARGETS} PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(geomfeature PROPERTIES INSTALL_RPATH "$ORIGIN/${gf_bin_to_lib}")

install(TARGETS ${GF_LIBRARY_TARGETS} EXPORT geomFeatureTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS geomfeature RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Headers keep their repository paths under include/geomFeature/; the io adapter's go to
# include/geomFeature/io/. The module's detail/ headers go too, since public ones include some of them
# (the editor's selection window); the adapter's detail/ headers, which speak of dxflib, do not.
install(DIRECTORY geomFeature/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/geomFeature FILES_MATCHING PATTERN "*.h")
install(DIRECTORY io/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/geomFeature/io
  FILES_MATCHING PATTERN "*.h" PATTERN "detail" EXCLUDE)
install(FILES ${GF_GENERATED_INCLUDE_DIR}/geomFeature/Version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/geomFeature)

install(EXPORT geomFeatureTargets NAMESPACE geomFeature:: DESTINATION ${GF_CMAKE_INSTALL_DIR})
configure_package_config_file(cmake/geomFeatureConfig.cmake.in
  ${PROJECT_BINARY_DIR}/geomFeatureConfig.cmake INSTALL_DESTINATION ${GF_CMAKE_INSTALL_DIR})
# While the major version is 0, every minor version may break the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/geomFeatureConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/geomFeatureConfig.cmake ${PROJECT_BINARY_DIR}/geomFeatureConfigVersion.cmake
  DESTINATION ${GF_CMAKE_INSTALL_DIR})

# pkg-config files that work wherever the prefix is moved (the prefix is found from the file's own folder).
# Only shared libraries are installed and no public header includes SQLite, cairo or dxflib, so the files
# name none of them: a consumer needs their runtime libraries, not their development files.
file(RELATIVE_PATH GF_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" GF_PC_TO_PREFIX "${GF_PC_TO_PREFIX}")
foreach(pc geomFeature geomFeature-io)
  configure_file(cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
