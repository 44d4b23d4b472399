#pragma once

// Symbols of the geomFeature shared library are hidden unless marked. Every public class of the
// module is declared `class GF_API Name` so that hosts (and the tests) can link against it.
#if defined(GF_BUILDING_MODULE)
#define GF_API __attribute__((visibility("default")))
#else
#define GF_API __attribute__((visibility("default")))
#endif
