# Plot pictures: libjpeg everywhere; cairo draws the headless canvas.
# Windows: libjpeg-turbo from Debian's source package, cross-built and linked
# statically by scripts/build-libjpeg.sh into build-deps/libjpeg-<arch>/.
if(WIN32)
    set(ZRT_JPEG_ROOT ${CMAKE_SOURCE_DIR}/build-deps/libjpeg-${CMAKE_SYSTEM_PROCESSOR})
    if(NOT EXISTS ${ZRT_JPEG_ROOT}/lib/libjpeg.a OR NOT EXISTS ${ZRT_JPEG_ROOT}/include/jpeglib.h)
        message(FATAL_ERROR "libjpeg for ${CMAKE_SYSTEM_PROCESSOR} is missing: "
                            "run scripts/build-libjpeg.sh ${CMAKE_SYSTEM_PROCESSOR} (make win32/win64 does)")
    endif()
    add_library(zrt_jpeg STATIC IMPORTED)
    set_target_properties(zrt_jpeg PROPERTIES
        IMPORTED_LOCATION ${ZRT_JPEG_ROOT}/lib/libjpeg.a
        INTERFACE_INCLUDE_DIRECTORIES ${ZRT_JPEG_ROOT}/include)
else()
    find_package(JPEG REQUIRED)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(ZRT_CAIRO REQUIRED IMPORTED_TARGET cairo)
    add_library(zrt_jpeg INTERFACE IMPORTED)
    target_link_libraries(zrt_jpeg INTERFACE JPEG::JPEG)
    list(APPEND ZRT_PLATFORM_LIBS PkgConfig::ZRT_CAIRO)
endif()
list(APPEND ZRT_PLATFORM_LIBS zrt_jpeg)
# The test host decodes the saved pictures with the same libjpeg.
list(APPEND ZRT_PROBE_LIBS zrt_jpeg)
