# Warnings for every target of the project, linked PRIVATE.
option(QLOK_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(qlok_warnings INTERFACE)
target_compile_options(qlok_warnings INTERFACE
    -Wall
    -Wextra
    -Wpedantic
    -Wshadow
    -Wconversion
    -Wsign-conversion
    -Wnon-virtual-dtor
    -Wold-style-cast
    -Woverloaded-virtual
    -Wnull-dereference
    -Wimplicit-fallthrough
    # GCC 12 reports a false -Wrestrict when optimising std::string assignments.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
    $<$<BOOL:${QLOK_WARNINGS_AS_ERRORS}>:-Werror>
)

option(QLOK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QLOK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
