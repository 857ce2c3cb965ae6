# SPDX-License-Identifier: GPL-3.0-or-later
# SQLCipher, found through pkg-config.
#
# It is linked statically, and the system libsqlite3 never: the web engine
# pulls the system SQLite into the process through NSS, and two shared copies of the
# same symbols get entangled (or SQLCipher silently drops out and the store is
# read as plain SQLite). So the target below takes the compile flags from
# pkg-config but links libsqlcipher.a from pkg-config's libdir, with the
# libraries that `pkg-config --static` lists for it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLCIPHER REQUIRED IMPORTED_TARGET sqlcipher)
find_library(SQLCIPHER_STATIC_LIBRARY NAMES libsqlcipher.a
             HINTS ${SQLCIPHER_LIBDIR} ${SQLCIPHER_STATIC_LIBRARY_DIRS} NO_DEFAULT_PATH REQUIRED)
set(_sqlcipher_static_deps ${SQLCIPHER_STATIC_LIBRARIES})
list(REMOVE_ITEM _sqlcipher_static_deps sqlcipher)

add_library(sqlcipher_static INTERFACE)
target_include_directories(sqlcipher_static SYSTEM INTERFACE
  $<TARGET_PROPERTY:PkgConfig::SQLCIPHER,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_options(sqlcipher_static INTERFACE
  $<TARGET_PROPERTY:PkgConfig::SQLCIPHER,INTERFACE_COMPILE_OPTIONS>)
target_compile_definitions(sqlcipher_static INTERFACE SQLITE_HAS_CODEC SQLITE_TEMP_STORE=2)
target_link_libraries(sqlcipher_static INTERFACE ${SQLCIPHER_STATIC_LIBRARY} ${_sqlcipher_static_deps})
