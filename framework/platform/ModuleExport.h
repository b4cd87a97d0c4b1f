#pragma once

// Marks a module's entry point for export with C linkage. Windows modules name their exports in
// a module-definition file, so only the listed names leave the DLL; Linux modules hide every
// other symbol and give these default visibility.
#if defined(_WIN32)
#define VELMORA_MODULE_EXPORT extern "C"
#else
#define VELMORA_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif
