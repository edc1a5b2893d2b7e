# The module's bitmaps and sounds, drawn and synthesised at build time by corvan-resgen, then
# compiled into the module: a resource script for windres on Windows, an embedded table on Linux.
#
# corvan-resgen runs on the build machine, so it is built as a separate project with the host's
# compiler (also when the module is cross-compiled). The art is redrawn only when the generator or
# the manifest changes. `cmake --build --preset <p> --target resources_contact_sheet` writes
# contact sheets of every bitmap into <build>/contact_sheet.

include(ExternalProject)

set(CORVAN_RESGEN_BINARY_DIR ${CMAKE_BINARY_DIR}/resgen)
set(CORVAN_RESGEN ${CORVAN_RESGEN_BINARY_DIR}/corvan-resgen)
set(CORVAN_RESOURCES_DIR ${CMAKE_BINARY_DIR}/resources)
set(CORVAN_RESOURCES_MANIFEST ${CORVAN_ROOT}/resources/bitmaps.manifest)

ExternalProject_Add(corvan_resgen
  SOURCE_DIR ${CORVAN_ROOT}/resources/generator
  BINARY_DIR ${CORVAN_RESGEN_BINARY_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CORVAN_RESGEN})

set(CORVAN_RESOURCES_OUTPUTS
  ${CORVAN_RESOURCES_DIR}/stamp
  ${CORVAN_RESOURCES_DIR}/corvan_resources.rc
  ${CORVAN_RESOURCES_DIR}/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${CORVAN_RESOURCES_OUTPUTS}
  COMMAND ${CORVAN_RESGEN} --manifest ${CORVAN_RESOURCES_MANIFEST} --out ${CORVAN_RESOURCES_DIR}
  DEPENDS ${CORVAN_RESGEN} ${CORVAN_RESOURCES_MANIFEST}
  COMMENT "Drawing the module's bitmaps and synthesising its sounds"
  VERBATIM)
add_custom_target(corvan_resources DEPENDS ${CORVAN_RESOURCES_OUTPUTS})
add_dependencies(corvan_module corvan_resources)

if(WIN32)
  enable_language(RC)
  target_sources(corvan_module PRIVATE ${CORVAN_RESOURCES_DIR}/corvan_resources.rc)
  # The version resource, from the VERSION file (see the top-level CMakeLists.txt).
  configure_file(${CORVAN_ROOT}/resources/version.rc.in ${CORVAN_RESOURCES_DIR}/version.rc @ONLY)
  target_sources(corvan_module PRIVATE ${CORVAN_RESOURCES_DIR}/version.rc)
  set_source_files_properties(${CORVAN_RESOURCES_DIR}/corvan_resources.rc PROPERTIES
    GENERATED TRUE OBJECT_DEPENDS ${CORVAN_RESOURCES_DIR}/stamp)
else()
  target_sources(corvan_module PRIVATE ${CORVAN_RESOURCES_DIR}/embedded_resources.cpp)
  set_source_files_properties(${CORVAN_RESOURCES_DIR}/embedded_resources.cpp PROPERTIES
    GENERATED TRUE OBJECT_DEPENDS ${CORVAN_RESOURCES_DIR}/stamp)
endif()

add_custom_target(resources_contact_sheet
  COMMAND ${CORVAN_RESGEN} --manifest ${CORVAN_RESOURCES_MANIFEST} --out ${CORVAN_RESOURCES_DIR}
          --contact-sheet ${CMAKE_BINARY_DIR}/contact_sheet
  DEPENDS ${CORVAN_RESGEN} ${CORVAN_RESOURCES_MANIFEST}
  COMMENT "Writing contact sheets of every bitmap into ${CMAKE_BINARY_DIR}/contact_sheet"
  VERBATIM)
