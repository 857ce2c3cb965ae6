# SQLCipher is linked statically, and the system libsqlite3 never: the web engine
# pulls the system SQLite into the process through NSS, and two shared copies of the
# same symbols get entangled (or SQLCipher silently drops out and the store is
# read as plain SQLite).
find_path(SQLCIPHER_INCLUDE_DIR sqlite3.h PATH_SUFFIXES sqlcipher REQUIRED
          PATHS /usr/include/sqlcipher NO_DEFAULT_PATH)
find_library(SQLCIPHER_STATIC_LIBRARY NAMES libsqlcipher.a REQUIRED)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
find_package(Threads REQUIRED)

add_library(sqlcipher_static INTERFACE)
target_include_directories(sqlcipher_static SYSTEM INTERFACE ${SQLCIPHER_INCLUDE_DIR})
target_compile_definitions(sqlcipher_static INTERFACE SQLITE_HAS_CODEC SQLITE_TEMP_STORE=2)
target_link_libraries(sqlcipher_static INTERFACE ${SQLCIPHER_STATIC_LIBRARY}
                      OpenSSL::Crypto Threads::Threads ${CMAKE_DL_LIBS} m)
