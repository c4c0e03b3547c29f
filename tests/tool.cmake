# The command line tool as a user runs it: its arguments, statuses and
# messages, and the interactive calculator on a pseudo-terminal.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
    foreach(name arguments session)
        add_test(NAME tool_${name}
                 COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tool/${name}_test.py
                         $<TARGET_FILE:quillet>)
        set_tests_properties(tool_${name} PROPERTIES TIMEOUT 120)
    endforeach()
else()
    message(WARNING "python3 not found: the tests of the quillet tool do not run")
endif()
