# GiNaC: the comparison peer (parse, differentiate and print the same text).
find_package(PkgConfig REQUIRED)
pkg_check_modules(GINAC REQUIRED IMPORTED_TARGET ginac)
target_link_libraries(${ZRT_BENCH_TARGET} PRIVATE PkgConfig::GINAC)
