# Eigen (header only) is the peer the matrix methods are compared with.
find_path(ZRT_EIGEN_INCLUDE Eigen/Dense PATHS /usr/include/eigen3 PATH_SUFFIXES eigen3)
if(NOT ZRT_EIGEN_INCLUDE)
    message(FATAL_ERROR "bench/numerics needs Eigen: scripts/install-deps.sh bench")
endif()
target_include_directories(${ZRT_BENCH_TARGET} SYSTEM PRIVATE ${ZRT_EIGEN_INCLUDE})
