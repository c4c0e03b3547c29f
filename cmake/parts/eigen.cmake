# Eigen (header only): LU for the inverse and linear systems of large orders.
# The Debian headers serve the mingw builds too; the cross toolchains only
# search their own root, so the Debian folder is named outright.
find_path(ZRT_EIGEN_INCLUDE Eigen/Dense
          PATHS /usr/include/eigen3 PATH_SUFFIXES eigen3 NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZRT_EIGEN_INCLUDE)
    message(FATAL_ERROR "Eigen is missing: scripts/install-deps.sh base (libeigen3-dev)")
endif()
target_include_directories(zerith_settings SYSTEM INTERFACE ${ZRT_EIGEN_INCLUDE})
