# One interface target carries the language level, warnings and sanitizers for
# every target of the project.
add_library(quillery_options INTERFACE)
target_compile_features(quillery_options INTERFACE cxx_std_20)
target_compile_options(quillery_options INTERFACE
    -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(quillery_options INTERFACE
    QT_NO_KEYWORDS
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QUILLERY_VERSION="${PROJECT_VERSION}")
if(QUILLERY_WERROR)
    target_compile_options(quillery_options INTERFACE -Werror)
endif()
if(QUILLERY_SANITIZE)
    target_compile_options(quillery_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(quillery_options INTERFACE -fsanitize=address,undefined)
endif()
