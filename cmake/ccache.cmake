# ccache as the compiler launcher, where it is installed (scripts/setup.sh installs it) and no
# launcher is set already: a fresh build folder, another branch or a second preset with the same
# flags then recompiles only what changed.
find_program(CORVAN_CCACHE ccache)
if(CORVAN_CCACHE)
  foreach(lang C CXX)
    if(NOT CMAKE_${lang}_COMPILER_LAUNCHER AND NOT DEFINED ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
      set(CMAKE_${lang}_COMPILER_LAUNCHER ${CORVAN_CCACHE})
    endif()
  endforeach()
endif()
