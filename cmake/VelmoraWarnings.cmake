# SPDX-License-Identifier: GPL-3.0-or-later
# Applied to every target the project builds itself.
add_compile_definitions(QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_STRICT_ITERATORS)
if(MSVC)
    add_compile_options(/W4 /utf-8)
    if(VELMORA_WERROR)
        add_compile_options(/WX)
    endif()
else()
    add_compile_options(-Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
    if(VELMORA_WERROR)
        add_compile_options(-Werror)
    endif()
    if(VELMORA_FUZZ)
        # Coverage for the fuzzer in every library; the fuzz targets add the fuzzer's main.
        add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                            -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    elseif(VELMORA_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()

# One static library per source folder.
function(velmora_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Every tst_*.cpp of a test folder becomes one test executable.
function(velmora_tests)
    cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    foreach(source ${sources})
        get_filename_component(base ${source} NAME_WE)
        set(target ${folder}_${base})
        add_executable(${target} ${source})
        target_link_libraries(${target} PRIVATE Qt6::Test ${ARG_LIBS})
        target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        add_test(NAME ${folder}/${base} COMMAND ${target})
        set(env "QT_QPA_PLATFORM=offscreen;QT_ASSUME_STDERR_HAS_CONSOLE=1")
        set_tests_properties(${folder}/${base} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
    endforeach()
endfunction()
