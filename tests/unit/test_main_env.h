// Where the tests find the native module: CORVAN_MODULE, set by ctest.
#pragma once

#include <cstdlib>
#include <string>

inline std::string test_module_path() {
    const char* p = std::getenv("CORVAN_MODULE");
    return p ? p : "build/native/Corvan_Instr.so";
}
