# pugixml comes from Debian's source package, unpacked by scripts/setup.sh.
set(PUGIXML_SOURCE_DIR ${CMAKE_SOURCE_DIR}/third_party/pugixml/src)
if(NOT EXISTS ${PUGIXML_SOURCE_DIR}/pugixml.cpp)
  message(FATAL_ERROR "pugixml sources missing: run scripts/setup.sh first")
endif()
add_library(pugixml STATIC ${PUGIXML_SOURCE_DIR}/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${PUGIXML_SOURCE_DIR})
target_compile_options(pugixml PRIVATE -w)
include(${CMAKE_CURRENT_LIST_DIR}/WinSparkle.cmake)
