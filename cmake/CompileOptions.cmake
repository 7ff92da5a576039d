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

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole build, tests included.
option(BRIMLET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(BRIMLET_SANITIZE)
    set(brimlet_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_compile_options(brimlet_options INTERFACE ${brimlet_sanitizers})
    target_link_options(brimlet_options INTERFACE ${brimlet_sanitizers})
endif()

# Fuzz targets: every library gets libFuzzer's coverage instrumentation (clang only).
option(BRIMLET_FUZZ "Build the fuzz targets (needs clang)" OFF)
if(BRIMLET_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "BRIMLET_FUZZ needs clang: configure with the fuzz preset")
    endif()
    set(brimlet_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(brimlet_options INTERFACE ${brimlet_fuzz_flags})
    target_link_options(brimlet_options INTERFACE -fsanitize=address,undefined)
endif()
