# cmake --install: the headers, libkestrel.so and a package a host project
# finds with find_package(kestrel). kestrel::kestrel is the header-only
# interface (hosts load the library with dlopen); kestrel::library is the
# installed libkestrel.so, for a host that wants its location.
include(CMakePackageConfigHelpers)

set(KESTREL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kestrel)

install(DIRECTORY include/kestrel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
# The table's records hold the base library's UString and date_s by value and
# some of its lists use the base library's allocator; a host has these from its
# base library, the tree carries them so it compiles on its own.
install(FILES platform/corerun/include/corerun/ustring.h platform/corerun/include/corerun/memory.h
  platform/corerun/include/corerun/clock.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corerun)

set_target_properties(kestrel PROPERTIES EXPORT_NAME library)
install(TARGETS kestrel_headers kestrel EXPORT kestrelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT kestrelTargets NAMESPACE kestrel:: DESTINATION ${KESTREL_INSTALL_CMAKEDIR})

configure_package_config_file(cmake/kestrelConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/kestrelConfig.cmake
  INSTALL_DESTINATION ${KESTREL_INSTALL_CMAKEDIR})
# Same major version, same table.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kestrelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kestrelConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/kestrelConfigVersion.cmake
  DESTINATION ${KESTREL_INSTALL_CMAKEDIR})

# The package version's major part is the interface version of the table.
file(STRINGS include/kestrel/kestrel_interface.h version_line REGEX "^#define KESTREL_INTERFACE_VERSION ")
string(REGEX REPLACE "^.* ([0-9]+)$" "\\1" interface_version "${version_line}")
if(NOT interface_version EQUAL PROJECT_VERSION_MAJOR)
  message(FATAL_ERROR "project version ${PROJECT_VERSION} does not match KESTREL_INTERFACE_VERSION ${interface_version}")
endif()
