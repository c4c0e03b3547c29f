# Golden scripts: tests/scripts/NAME.zrt run through the command line tool
# must print exactly tests/scripts/NAME.out.
file(GLOB ZRT_GOLDEN_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/scripts/*.zrt)
foreach(script ${ZRT_GOLDEN_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME golden_${name}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/run_golden.sh $<TARGET_FILE:quillet> ${script})
endforeach()
