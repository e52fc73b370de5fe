# One interface target carries the language level, warnings and sanitizers for
# every target of the project.
add_library(quillery_options INTERFACE)
target_compile_features(quillery_options INTERFACE cxx_std_20)
target_compile_options(quillery_options INTERFACE
    -Wall -Wextra -Wpedantic -Wno-missing-field-initializers
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast)
target_compile_definitions(quillery_options INTERFACE
    QT_NO_KEYWORDS
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QUILLERY_VERSION="${PROJECT_VERSION}")
# A library named on the link line but not used is not loaded at start.
target_link_options(quillery_options INTERFACE -Wl,--as-needed)
if(QUILLERY_WERROR)
    target_compile_options(quillery_options INTERFACE -Werror)
endif()
if(QUILLERY_SANITIZE)
    # float-cast-overflow is not part of "undefined": a double too large for
    # the integer it is cast to (a hostile number in a file) is caught too.
    set(_sanitizers address,undefined,float-cast-overflow)
    target_compile_options(quillery_options INTERFACE
        -fsanitize=${_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(quillery_options INTERFACE -fsanitize=${_sanitizers})
    # The instrumentation makes GCC see uninitialised reads in std::optional
    # that cannot happen; the ordinary build keeps the warning.
    target_compile_options(quillery_options INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
endif()
if(QUILLERY_TSAN)
    if(QUILLERY_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer: use two build folders")
    endif()
    target_compile_options(quillery_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(quillery_options INTERFACE -fsanitize=thread)
    target_compile_options(quillery_options INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized -Wno-tsan>)
endif()
if(QUILLERY_FUZZ)
    # Coverage for libFuzzer in everything the fuzz targets reach; the
    # targets themselves link libFuzzer (fuzz/CMakeLists.txt).
    target_compile_options(quillery_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
