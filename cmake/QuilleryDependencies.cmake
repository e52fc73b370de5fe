# Every third-party dependency comes from Debian's packages (scripts/debian-packages.txt).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Concurrent Test)
find_package(SQLiteCpp REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(ICU REQUIRED COMPONENTS uc i18n)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
# iCalendar files (and later a task server's payloads) are read and written by libical.
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
# Finished PDFs get their outline through qpdf (Qt's writer makes none).
pkg_check_modules(QPDF REQUIRED IMPORTED_TARGET libqpdf)

if(NOT QUILLERY_CORE_ONLY)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg DBus Network PrintSupport LinguistTools)
    pkg_check_modules(GEONAMES REQUIRED IMPORTED_TARGET geonames)
    find_package(PostgreSQL REQUIRED)
    find_package(Qt6Keychain REQUIRED)
endif()

if(QUILLERY_BUILD_TESTS)
    find_package(GTest REQUIRED)
endif()
if(QUILLERY_BUILD_BENCH AND NOT QUILLERY_CORE_ONLY)
    find_package(benchmark REQUIRED)
endif()
