# One static library per layer, built from every .cpp of its folder; the
# remaining arguments are the layers it builds on.
function(tarvo_add_layer name dir)
    file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(_src)
        add_library(${name} STATIC ${_src})
        set(_scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(_scope INTERFACE)
    endif()
    target_include_directories(${name} ${_scope} ${PROJECT_SOURCE_DIR}/src)
    if(ARGN)
        target_link_libraries(${name} ${_scope} ${ARGN})
    endif()
    add_library(Tarvo::${name} ALIAS ${name})
endfunction()

# One test program per test folder; every case is registered with CTest.
function(tarvo_add_test_dir name dir)
    file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT _src)
        return()
    endif()
    add_executable(${name} ${_src})
    target_link_libraries(${name} PRIVATE tarvo_test_support ${ARGN})
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300 ENVIRONMENT "LOCPATH=${TARVO_TEST_LOCPATH}")
endfunction()

# A Qt layer: every .cpp, .h and .qrc of its folder (headers for moc), with the
# layers and Qt modules it builds on. Always a static library, so that an
# empty folder still links.
function(tarvo_add_qt_layer name dir)
    file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc)
    add_library(${name} STATIC ${_src} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
    add_library(Tarvo::${name} ALIAS ${name})
endfunction()
