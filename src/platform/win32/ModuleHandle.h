#pragma once

#include <string>
#include <windows.h>

namespace grelmond::platform {

// Stored once by the library's load routine.
void setModuleHandle(HINSTANCE module);

// The module that holds this code and its resources: the stored handle, or, in a
// program that links the code directly, the module found from this function's address.
HINSTANCE moduleHandle();

// The full file name of moduleHandle(); empty on failure.
std::string moduleFileName();

} // namespace grelmond::platform
