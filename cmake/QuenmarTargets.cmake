# Shared helpers for the project's targets: warnings are applied per target, never globally.

function(quenmar_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(QUENMAR_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# quenmar_library(name SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# One static library per layer; its headers are included as "layer/Header.h" from src/.
function(quenmar_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    quenmar_warnings(${name})
endfunction()
