# vormi_add_library(name EXPORT_NAME export HEADERS header... SOURCES source...)
#
# One layer of the library: target vormi_<name>, alias vormi::<export>. The
# layer's public headers live under <layer>/include/vormi/<layer>/, which is
# the only include root other targets see; everything else in the layer folder
# (sources, private headers such as codec/detail/) is seen only by the layer
# itself and by the tests that ask for it. HEADERS are the headers a user of
# the installed library needs; they are installed with the library.
function(vormi_add_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "EXPORT_NAME" "HEADERS;SOURCES")
  add_library(vormi_${name} ${arg_SOURCES})
  add_library(vormi::${arg_EXPORT_NAME} ALIAS vormi_${name})
  target_sources(vormi_${name} PUBLIC FILE_SET HEADERS BASE_DIRS include FILES ${arg_HEADERS})
  target_include_directories(vormi_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_features(vormi_${name} PUBLIC cxx_std_20)
  set_target_properties(vormi_${name} PROPERTIES
    EXPORT_NAME ${arg_EXPORT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  # Installed shared libraries find each other in their own folder.
  if(UNIX AND NOT APPLE)
    set_target_properties(vormi_${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
endfunction()
