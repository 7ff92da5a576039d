# Options shared by every target of the project, gathered in one INTERFACE target.
add_library(brimlet_options INTERFACE)
add_library(Brimlet::options ALIAS brimlet_options)

target_compile_features(brimlet_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(brimlet_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic>
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /permissive->)

target_compile_definitions(brimlet_options INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER)

option(BRIMLET_WERROR "Treat compiler warnings as errors" OFF)
if(BRIMLET_WERROR)
    target_compile_options(brimlet_options INTERFACE
        $<$<CXX_COMPILER_ID:GNU,Clang>:-Werror>)
endif()
