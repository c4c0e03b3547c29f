# muparser: the peer the evaluator is measured against (benchmark only).
find_package(PkgConfig REQUIRED)
pkg_check_modules(MUPARSER REQUIRED IMPORTED_TARGET muparser)
target_link_libraries(${ZRT_BENCH_TARGET} PRIVATE PkgConfig::MUPARSER)
