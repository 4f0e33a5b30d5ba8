# cmake --install puts the toolkit where another project can use it without copying sources:
#   lib/                      the static libraries
#   include/velquist/         the headers, under their source paths (toolkit/..., util/...)
#   lib/cmake/Velquist/       the package: find_package(Velquist REQUIRED COMPONENTS sdl|headless|win32)
# gives Velquist::toolkit (with Velquist::util) and a target per backend (Velquist::sdl, Velquist::headless,
# Velquist::win32), and vq_embed_resources() for the Linux backends' bitmaps.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(vq_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Velquist)
set(vq_exported vq_util toolkit)
set_target_properties(vq_util PROPERTIES EXPORT_NAME util)
set(vq_backends "")
foreach(backend sdl headless win32)
    if(TARGET toolkit_platform_${backend})
        set_target_properties(toolkit_platform_${backend} PROPERTIES EXPORT_NAME ${backend})
        list(APPEND vq_exported toolkit_platform_${backend})
        list(APPEND vq_backends ${backend})
    endif()
endforeach()

install(TARGETS ${vq_exported} EXPORT VelquistTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY toolkit util DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velquist FILES_MATCHING PATTERN "*.h")
install(EXPORT VelquistTargets NAMESPACE Velquist:: DESTINATION ${vq_package_dir})

# What the Linux backends link beside the toolkit, found again where the package is used.
set(VQ_PACKAGE_BACKENDS "${vq_backends}")
if(WIN32)
    set(VQ_PACKAGE_DEPENDENCIES "")
else()
    set(VQ_PACKAGE_DEPENDENCIES "SDL2;Freetype;Fontconfig;X11")
endif()
configure_package_config_file(cmake/VelquistConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/VelquistConfig.cmake
                              INSTALL_DESTINATION ${vq_package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VelquistConfigVersion.cmake VERSION 1.0
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VelquistConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/VelquistConfigVersion.cmake
              cmake/EmbedResources.cmake cmake/embed_resources_script.cmake
        DESTINATION ${vq_package_dir})
