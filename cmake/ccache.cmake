# ccache as the compiler launcher, where it is installed (scripts/setup.sh installs it) and no
# launcher is set already: a fresh build folder, another branch or a second preset with the same
# flags then recompiles only what changed. Paths are taken relative to the checkout, so another
# clone or worktree of the tree finds the same cache entries.
find_program(CORVAN_CCACHE ccache)
get_filename_component(CORVAN_CCACHE_BASE "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(CORVAN_CCACHE)
  foreach(lang C CXX)
    if(NOT CMAKE_${lang}_COMPILER_LAUNCHER AND NOT DEFINED ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
      set(CMAKE_${lang}_COMPILER_LAUNCHER
          ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CORVAN_CCACHE_BASE} CCACHE_NOHASHDIR=1 ${CORVAN_CCACHE})
    endif()
  endforeach()
endif()
