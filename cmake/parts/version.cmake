# The version lives in one place, the project version: the library's version
# texts, the DLL's version block and the release packages all read it from here.
set(ZRT_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${ZRT_GENERATED_DIR}/zrt_version.h @ONLY)
file(WRITE ${PROJECT_BINARY_DIR}/version.txt "${PROJECT_VERSION}\n")
target_include_directories(zerith_settings INTERFACE ${ZRT_GENERATED_DIR})
# The resource compiler of the DLL reads the same header.
include_directories(${ZRT_GENERATED_DIR})
